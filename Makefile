# The README's two commands: `make run` and `make test`. Each sets up first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: setup build run test clean demo

setup:
	bash scripts/setup-debian.sh

build: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	bash scripts/make-demo.sh $(BUILD)/demo

run: demo
	bash scripts/run-player.sh $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure

clean:
	rm -rf $(BUILD)
