# The README's two commands: `make run` and `make test`. Each sets up first;
# a bare `make` only configures and builds.
BUILD ?= build
JOBS ?= $(shell nproc)
# Tests run side by side, each in its own X server and folder (test-env.sh),
# one more than there are processors: most of a test's time is spent waiting
# on real-time playback and X servers. The tests that time playback run alone
# (RUN_SERIAL, tests/CMakeLists.txt).
TEST_JOBS ?= $(shell echo $$(( $(JOBS) + 1 )))
CTEST = ctest --output-on-failure -j $(TEST_JOBS)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The sanitizer and fuzzing builds of `make test`, each in its own folder.
ASAN_BUILD ?= $(BUILD)-asan
TSAN_BUILD ?= $(BUILD)-tsan
FUZZ_BUILD ?= $(BUILD)-fuzz
SANITIZER_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRELKOS_BENCH=OFF
# Bounded runs: the soak test in the plain build and under the sanitizers
# (longer by hand: BRELKOS_SOAK_SECONDS=3600), and each fuzz target.
SOAK_SECONDS ?= 120
SANITIZED_SOAK_SECONDS ?= 45
FUZZ_SECONDS ?= 20
# The background builds of `make test` take only otherwise idle processor time.
IDLE = $(shell chrt --idle 0 true 2>/dev/null && echo chrt --idle 0 || echo nice -n 19)
# The soak tests have no time-out of their own: their length and some more.
SOAK_TIMEOUT = --timeout $$(( $(1) + 300 ))

# `make install`: the program, its data, desktop entry and icons under PREFIX
# (README, "Install"); DESTDIR stages them elsewhere, as packagers do.
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all setup build run test clean demo install test-plain test-asan test-tsan test-fuzz \
	asan-build tsan-build fuzz-build prebuild

all:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

setup:
	bash scripts/setup-debian.sh

build: setup
	$(MAKE) all

demo: build
	bash scripts/make-demo.sh $(BUILD)/demo

run: demo
	bash scripts/run-player.sh $(BUILD)

# Every stage runs even when an earlier one failed, so that one run shows
# every failure; the command fails when any stage did. Meanwhile the
# sanitizer builds compile in the background at idle priority (prebuild): the
# tests mostly wait on real-time playback and X servers, and the compilers take
# only the processor time the tests leave. Each stage still builds its own
# folder (a no-op then), and shows the errors when the background build failed.
test: setup
	@setsid -w $(IDLE) $(MAKE) --no-print-directory prebuild </dev/null & prebuild=$$!; \
	trap 'kill -TERM -$$prebuild 2>/dev/null' INT TERM; \
	$(MAKE) -k test-plain test-asan test-tsan test-fuzz; status=$$?; \
	wait $$prebuild; exit $$status

prebuild:
	-@mkdir -p $(ASAN_BUILD) && $(MAKE) asan-build >$(ASAN_BUILD)/prebuild.log 2>&1
	-@mkdir -p $(TSAN_BUILD) && $(MAKE) tsan-build >$(TSAN_BUILD)/prebuild.log 2>&1
	-@mkdir -p $(FUZZ_BUILD) && $(MAKE) fuzz-build >$(FUZZ_BUILD)/prebuild.log 2>&1

# A folder is built by one make at a time: the background build or the stage.
LOCK = mkdir -p $(1) && exec 9>$(1)/.build-lock && \
	{ flock -n 9 || { echo "Waiting for the background build of $(1)"; flock 9; }; }

# All tests, plain build.
test-plain: build
	BRELKOS_SOAK_SECONDS=$(SOAK_SECONDS) $(CTEST) --test-dir $(BUILD) $(call SOAK_TIMEOUT,$(SOAK_SECONDS))
	@grep -ah '^\[ soak' $(BUILD)/Testing/Temporary/LastTest.log || true

# All tests again under the address and undefined-behaviour sanitizers, one
# CTest entry per suite (each entry is one process with its own X server).
asan-build:
	$(call LOCK,$(ASAN_BUILD)) && \
	cmake -S . -B $(ASAN_BUILD) $(SANITIZER_FLAGS) -DBRELKOS_ASAN=ON -DBRELKOS_TEST_GROUPS=suite && \
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test-asan: setup asan-build
	BRELKOS_SOAK_SECONDS=$(SANITIZED_SOAK_SECONDS) $(CTEST) --test-dir $(ASAN_BUILD) \
		$(call SOAK_TIMEOUT,$(SANITIZED_SOAK_SECONDS))
	@grep -ah '^\[ soak' $(ASAN_BUILD)/Testing/Temporary/LastTest.log || true

# The tests that exercise threads (label "threads") under the thread sanitizer.
tsan-build:
	$(call LOCK,$(TSAN_BUILD)) && \
	cmake -S . -B $(TSAN_BUILD) $(SANITIZER_FLAGS) -DBRELKOS_TSAN=ON -DBRELKOS_TEST_GROUPS=suite && \
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target sound_tests lame_tests gui_tests

test-tsan: setup tsan-build
	BRELKOS_SOAK_SECONDS=$(SANITIZED_SOAK_SECONDS) $(CTEST) --test-dir $(TSAN_BUILD) -L threads \
		$(call SOAK_TIMEOUT,$(SANITIZED_SOAK_SECONDS))
	@grep -ah '^\[ soak' $(TSAN_BUILD)/Testing/Temporary/LastTest.log || true

# Every fuzz target for FUZZ_SECONDS, with clang and libFuzzer.
fuzz-build:
	$(call LOCK,$(FUZZ_BUILD)) && \
	cmake -S . -B $(FUZZ_BUILD) $(SANITIZER_FLAGS) -DBRELKOS_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DBRELKOS_WAV_FUZZ_SECONDS=$(FUZZ_SECONDS) -DBRELKOS_PLAYLIST_FUZZ_SECONDS=$(FUZZ_SECONDS) \
		-DBRELKOS_MEDIA_PATH_FUZZ_SECONDS=$(FUZZ_SECONDS) && \
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_wav fuzz_design fuzz_playlist fuzz_media_path

test-fuzz: setup fuzz-build
	$(CTEST) --test-dir $(FUZZ_BUILD) -R '^fuzz_'
	@grep -ah -e '^[0-9]*/[0-9]* Test: fuzz_' -e '^Done [0-9]* runs' $(FUZZ_BUILD)/Testing/Temporary/LastTest.log || true

install:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target BrelkosPlayer
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
