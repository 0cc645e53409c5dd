// An output that goes away under a playing channel: a PulseAudio server of
// the test's own, found by "Autodetect" and killed mid-file.
#include "SoundTestSupport.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace soundtest;

namespace {

class LostOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brelkos-pulse-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        std::vector<std::string> env{"PULSE_RUNTIME_PATH=" + folder, "PULSE_STATE_PATH=" + folder};
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        for (char** entry = environ; *entry; ++entry)
            envp.push_back(*entry);
        envp.push_back(nullptr);
        const char* argv[] = {"pulseaudio",
                              "--daemonize=no",
                              "--exit-idle-time=-1",
                              "-n",
                              "--use-pid-file=no",
                              "--load=module-null-sink sink_name=lost",
                              "--load=module-native-protocol-unix",
                              nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string log = folder + "/pulseaudio.log";
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        int spawned =
            posix_spawnp(&server, "pulseaudio", &actions, nullptr, const_cast<char**>(argv), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(spawned, 0);
        const std::string socket = folder + "/native";
        ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(socket); }, 10s));
        setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("PULSE_SERVER");
        if (server > 0) {
            kill(server, SIGKILL);
            waitpid(server, nullptr, 0);
        }
        if (!folder.empty())
            std::filesystem::remove_all(folder);
    }

    std::string folder;
    pid_t server = 0;
};

TEST_F(LostOutputTest, ASoundServerGoneWhilePlayingEndsTheChannelWithAnOutputError)
{
    sound::System* system = nullptr;
    ASSERT_EQ(sound::System_Create(&system), sound::OK);
    ASSERT_EQ(system->setOutput(sound::OUTPUTTYPE_AUTODETECT), sound::OK);
    ASSERT_EQ(system->init(4095, 0, nullptr), sound::OK);
    sound::Sound* sound = nullptr;
    ASSERT_EQ(system->createStream(dataPath("tone.wav").c_str(), 0, nullptr, &sound), sound::OK);
    sound::Channel* channel = nullptr;
    ASSERT_EQ(system->playSound(sound::CHANNEL_FREE, sound, false, &channel), sound::OK);
    ASSERT_TRUE(waitUntil([&] { return positionOf(channel) > 100; }, 2s));

    ASSERT_EQ(kill(server, SIGKILL), 0);
    EXPECT_TRUE(waitUntil([&] { return !playing(channel); }, 1500ms));
    sound::Result error = sound::OK;
    char text[512] = {};
    EXPECT_EQ(channel->getError(&error, text, sizeof text), sound::OK);
    EXPECT_EQ(error, sound::ERR_OUTPUT_INIT);
    EXPECT_NE(std::string(text).find("pulsesink"), std::string::npos) << text;
    EXPECT_EQ(system->release(), sound::OK);
}

} // namespace
