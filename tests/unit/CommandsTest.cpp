#include <gtest/gtest.h>

#include <wx/defs.h>

#include "gui/Commands.h"

using BrelkosPlayer::Command;
using BrelkosPlayer::CommandForKey;
using BrelkosPlayer::KeyWindow;

// README "Keys": the same key may mean another command, or nothing, in another window.
TEST(CommandsTest, EachWindowMapsItsOwnKeys)
{
    struct Case {
        int key;
        Command main;
        Command playlist;
        Command video;
    };
    const Case cases[] = {
        {WXK_RIGHT, Command::SeekForward, Command::SeekForward, Command::SeekForward},
        {WXK_LEFT, Command::SeekBack, Command::SeekBack, Command::SeekBack},
        {WXK_NUMPAD_RIGHT, Command::None, Command::SeekForward, Command::None},
        {WXK_PAGEDOWN, Command::Next, Command::None, Command::Previous},
        {WXK_PAGEUP, Command::Previous, Command::None, Command::Next},
        {WXK_UP, Command::None, Command::Next, Command::None},
        {WXK_NUMPAD_DOWN, Command::None, Command::Previous, Command::None},
        {WXK_NUMPAD_ADD, Command::VolumeUp, Command::VolumeUp, Command::VolumeUp},
        {WXK_SUBTRACT, Command::VolumeDown, Command::VolumeDown, Command::VolumeDown},
        {WXK_DELETE, Command::RemoveEntry, Command::RemoveEntry, Command::None},
        {WXK_NUMPAD_DELETE, Command::None, Command::RemoveEntry, Command::None},
        {WXK_SPACE, Command::None, Command::None, Command::PlayPause},
        {WXK_NUMPAD_ENTER, Command::None, Command::None, Command::FullScreen},
        {WXK_ESCAPE, Command::None, Command::None, Command::LeaveFullScreen},
        {'a', Command::None, Command::None, Command::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandForKey(KeyWindow::Main, c.key), c.main) << "main, key " << c.key;
        EXPECT_EQ(CommandForKey(KeyWindow::Playlist, c.key), c.playlist) << "playlist, key " << c.key;
        EXPECT_EQ(CommandForKey(KeyWindow::Video, c.key), c.video) << "video, key " << c.key;
    }
}
