#include "gui/Commands.h"

#include <wx/defs.h>

namespace BrelkosPlayer {

namespace {

struct KeyCommand {
    int key;
    Command command;
};

// GTK sends keypad + and - as the keypad codes, other keyboards the plain ones.
const KeyCommand kMainKeys[] = {
    {WXK_RIGHT, Command::SeekForward},   {WXK_LEFT, Command::SeekBack},
    {WXK_PAGEDOWN, Command::Next},       {WXK_PAGEUP, Command::Previous},
    {WXK_SUBTRACT, Command::VolumeDown}, {WXK_NUMPAD_SUBTRACT, Command::VolumeDown},
    {WXK_ADD, Command::VolumeUp},        {WXK_NUMPAD_ADD, Command::VolumeUp},
    {WXK_DELETE, Command::RemoveEntry},
};

const KeyCommand kPlaylistKeys[] = {
    {WXK_DELETE, Command::RemoveEntry},
    {WXK_NUMPAD_DELETE, Command::RemoveEntry},
    {WXK_LEFT, Command::SeekBack},
    {WXK_NUMPAD_LEFT, Command::SeekBack},
    {WXK_RIGHT, Command::SeekForward},
    {WXK_NUMPAD_RIGHT, Command::SeekForward},
    {WXK_UP, Command::Next},
    {WXK_NUMPAD_UP, Command::Next},
    {WXK_DOWN, Command::Previous},
    {WXK_NUMPAD_DOWN, Command::Previous},
    {WXK_ADD, Command::VolumeUp},
    {WXK_NUMPAD_ADD, Command::VolumeUp},
    {WXK_SUBTRACT, Command::VolumeDown},
    {WXK_NUMPAD_SUBTRACT, Command::VolumeDown},
};

// Page Up and Down run the other way round from the main window's.
const KeyCommand kVideoKeys[] = {
    {WXK_RETURN, Command::FullScreen},
    {WXK_NUMPAD_ENTER, Command::FullScreen},
    {WXK_ESCAPE, Command::LeaveFullScreen},
    {WXK_SPACE, Command::PlayPause},
    {WXK_PAGEUP, Command::Next},
    {WXK_PAGEDOWN, Command::Previous},
    {WXK_LEFT, Command::SeekBack},
    {WXK_RIGHT, Command::SeekForward},
    {WXK_NUMPAD_ADD, Command::VolumeUp},
    {WXK_ADD, Command::VolumeUp},
    {WXK_NUMPAD_SUBTRACT, Command::VolumeDown},
    {WXK_SUBTRACT, Command::VolumeDown},
};

template <size_t N>
Command Find(const KeyCommand (&keys)[N], int keyCode)
{
    for (const KeyCommand& key : keys) {
        if (key.key == keyCode)
            return key.command;
    }
    return Command::None;
}

} // namespace

Command CommandForKey(KeyWindow window, int keyCode)
{
    switch (window) {
    case KeyWindow::Main: return Find(kMainKeys, keyCode);
    case KeyWindow::Playlist: return Find(kPlaylistKeys, keyCode);
    case KeyWindow::Video: return Find(kVideoKeys, keyCode);
    }
    return Command::None;
}

} // namespace BrelkosPlayer
