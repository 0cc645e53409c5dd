#include "desktop/MprisService.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gio/gio.h>
#include <string>
#include <unistd.h>

#include "desktop/DesktopPlayer.h"
#include "log/Logger.h"

namespace BrelkosPlayer {

const char* const MprisService::kBusName = "org.mpris.MediaPlayer2.brelkosplayer";

bool DesktopStatus::operator==(const DesktopStatus& o) const
{
    return playback == o.playback && path == o.path && title == o.title && lengthUs == o.lengthUs &&
           volume == o.volume && loop == o.loop && random == o.random && canGoNext == o.canGoNext &&
           canGoPrevious == o.canGoPrevious && canPlay == o.canPlay && canPause == o.canPause &&
           canSeek == o.canSeek;
}

namespace {

const char kObjectPath[] = "/org/mpris/MediaPlayer2";
const char kRootInterface[] = "org.mpris.MediaPlayer2";
const char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";
const char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

const char kIntrospection[] = R"(<node>
  <interface name="org.mpris.MediaPlayer2">
    <method name="Raise"/>
    <method name="Quit"/>
    <property name="CanQuit" type="b" access="read"/>
    <property name="CanRaise" type="b" access="read"/>
    <property name="HasTrackList" type="b" access="read"/>
    <property name="Identity" type="s" access="read"/>
    <property name="DesktopEntry" type="s" access="read"/>
    <property name="SupportedUriSchemes" type="as" access="read"/>
    <property name="SupportedMimeTypes" type="as" access="read"/>
  </interface>
  <interface name="org.mpris.MediaPlayer2.Player">
    <method name="Next"/>
    <method name="Previous"/>
    <method name="Pause"/>
    <method name="PlayPause"/>
    <method name="Stop"/>
    <method name="Play"/>
    <method name="Seek"><arg direction="in" name="Offset" type="x"/></method>
    <method name="SetPosition">
      <arg direction="in" name="TrackId" type="o"/>
      <arg direction="in" name="Position" type="x"/>
    </method>
    <method name="OpenUri"><arg direction="in" name="Uri" type="s"/></method>
    <signal name="Seeked"><arg name="Position" type="x"/></signal>
    <property name="PlaybackStatus" type="s" access="read"/>
    <property name="LoopStatus" type="s" access="readwrite"/>
    <property name="Rate" type="d" access="readwrite"/>
    <property name="Shuffle" type="b" access="readwrite"/>
    <property name="Metadata" type="a{sv}" access="read"/>
    <property name="Volume" type="d" access="readwrite"/>
    <property name="Position" type="x" access="read"/>
    <property name="MinimumRate" type="d" access="read"/>
    <property name="MaximumRate" type="d" access="read"/>
    <property name="CanGoNext" type="b" access="read"/>
    <property name="CanGoPrevious" type="b" access="read"/>
    <property name="CanPlay" type="b" access="read"/>
    <property name="CanPause" type="b" access="read"/>
    <property name="CanSeek" type="b" access="read"/>
    <property name="CanControl" type="b" access="read"/>
  </interface>
</node>)";

// The types of the extensions the player files (playlist/MediaPath.cpp):
// mp3 wma wav ogg ac3, wmv avi mpg mpeg mp4 divx mkv.
const char* const kMimeTypes[] = {
    "audio/mpeg",         "audio/x-ms-wma", "audio/x-wav",    "audio/wav",        "audio/ogg",
    "audio/x-vorbis+ogg", "audio/ac3",      "video/x-ms-wmv", "video/x-msvideo",  "video/mpeg",
    "video/mp4",          "video/x-divx",   "video/vnd.divx", "video/x-matroska", nullptr,
};
const char* const kUriSchemes[] = {"file", nullptr};

// The Player properties that PropertiesChanged reports: Position never does
// (clients follow it through Seeked), the rates and CanControl never change.
const char* const kPublished[] = {"PlaybackStatus", "LoopStatus",    "Shuffle", "Metadata", "Volume",
                                  "CanGoNext",      "CanGoPrevious", "CanPlay", "CanPause", "CanSeek"};

const char* PlaybackText(DesktopStatus::Playback playback)
{
    switch (playback) {
    case DesktopStatus::Playing: return "Playing";
    case DesktopStatus::Paused: return "Paused";
    case DesktopStatus::Stopped: break;
    }
    return "Stopped";
}

// One object path per file, from its path alone, so that a SetPosition for
// a file that is no longer current can be told apart.
std::string TrackId(const wxString& path)
{
    if (path.empty())
        return kNoTrack;
    char id[64];
    std::snprintf(id, sizeof id, "/org/brelkosplayer/track/%08x",
                  g_str_hash(static_cast<const char*>(path.utf8_str())));
    return id;
}

GVariant* Metadata(const DesktopStatus& status)
{
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&builder, "{sv}", "mpris:trackid",
                          g_variant_new_object_path(TrackId(status.path).c_str()));
    if (!status.path.empty()) {
        if (status.lengthUs > 0)
            g_variant_builder_add(&builder, "{sv}", "mpris:length", g_variant_new_int64(status.lengthUs));
        g_variant_builder_add(&builder, "{sv}", "xesam:title", g_variant_new_string(status.title.utf8_str()));
        // A CD track address names no file.
        wxScopedCharBuffer file = status.path.fn_str();
        if (g_path_is_absolute(file)) {
            if (gchar* uri = g_filename_to_uri(file, nullptr, nullptr)) {
                g_variant_builder_add(&builder, "{sv}", "xesam:url", g_variant_new_string(uri));
                g_free(uri);
            }
        }
    }
    return g_variant_builder_end(&builder);
}

GVariant* PlayerProperty(const char* name, const DesktopStatus& status, const DesktopPlayer& player)
{
    if (!std::strcmp(name, "PlaybackStatus"))
        return g_variant_new_string(PlaybackText(status.playback));
    if (!std::strcmp(name, "LoopStatus"))
        return g_variant_new_string(status.loop ? "Playlist" : "None");
    if (!std::strcmp(name, "Shuffle"))
        return g_variant_new_boolean(status.random);
    if (!std::strcmp(name, "Metadata"))
        return Metadata(status);
    if (!std::strcmp(name, "Volume"))
        return g_variant_new_double(status.volume / 100.0);
    if (!std::strcmp(name, "Position"))
        return g_variant_new_int64(player.GetPositionUs());
    if (!std::strcmp(name, "Rate") || !std::strcmp(name, "MinimumRate") || !std::strcmp(name, "MaximumRate"))
        return g_variant_new_double(1.0);
    if (!std::strcmp(name, "CanGoNext"))
        return g_variant_new_boolean(status.canGoNext);
    if (!std::strcmp(name, "CanGoPrevious"))
        return g_variant_new_boolean(status.canGoPrevious);
    if (!std::strcmp(name, "CanPlay"))
        return g_variant_new_boolean(status.canPlay);
    if (!std::strcmp(name, "CanPause"))
        return g_variant_new_boolean(status.canPause);
    if (!std::strcmp(name, "CanSeek"))
        return g_variant_new_boolean(status.canSeek);
    if (!std::strcmp(name, "CanControl"))
        return g_variant_new_boolean(TRUE);
    return nullptr;
}

GVariant* RootProperty(const char* name)
{
    if (!std::strcmp(name, "CanQuit") || !std::strcmp(name, "CanRaise"))
        return g_variant_new_boolean(TRUE);
    if (!std::strcmp(name, "HasTrackList"))
        return g_variant_new_boolean(FALSE);
    if (!std::strcmp(name, "Identity"))
        return g_variant_new_string("Brelko's Player");
    if (!std::strcmp(name, "DesktopEntry"))
        return g_variant_new_string("brelkosplayer");
    if (!std::strcmp(name, "SupportedUriSchemes"))
        return g_variant_new_strv(kUriSchemes, -1);
    if (!std::strcmp(name, "SupportedMimeTypes"))
        return g_variant_new_strv(kMimeTypes, -1);
    return nullptr;
}

} // namespace

struct MprisService::Impl {
    explicit Impl(DesktopPlayer& p) : player(p) {}
    ~Impl();

    void Start();
    void Publish();
    void Call(const char* interface, const char* method, GVariant* parameters,
              GDBusMethodInvocation* invocation);
    bool Set(const char* name, GVariant* value, GError** error);
    void Seek(int64_t offset);
    void SetPosition(const char* trackId, int64_t position);

    static void OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar* interface,
                             const gchar* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                             gpointer data);
    static GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar* interface,
                                   const gchar* name, GError** error, gpointer data);
    static gboolean OnSetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                  const gchar* name, GVariant* value, GError** error, gpointer data);
    static gboolean OnIdle(gpointer data);
    static void OnNameLost(GDBusConnection* connection, const gchar* name, gpointer data);
    static const GDBusInterfaceVTable kVTable;

    DesktopPlayer& player;
    GDBusConnection* connection = nullptr;
    GDBusNodeInfo* node = nullptr;
    guint rootId = 0;
    guint playerId = 0;
    guint ownerId = 0;
    guint idleId = 0;
    bool triedInstanceName = false;
    DesktopStatus published;
};

void MprisService::Impl::OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar* interface,
                                      const gchar* method, GVariant* parameters,
                                      GDBusMethodInvocation* invocation, gpointer data)
{
    static_cast<Impl*>(data)->Call(interface, method, parameters, invocation);
}

GVariant* MprisService::Impl::OnGetProperty(GDBusConnection*, const gchar*, const gchar*,
                                            const gchar* interface, const gchar* name, GError** error,
                                            gpointer data)
{
    auto* impl = static_cast<Impl*>(data);
    GVariant* value = !std::strcmp(interface, kRootInterface)
                          ? RootProperty(name)
                          : PlayerProperty(name, impl->player.GetStatus(), impl->player);
    if (!value)
        g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "No property %s", name);
    return value;
}

gboolean MprisService::Impl::OnSetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                           const gchar* name, GVariant* value, GError** error, gpointer data)
{
    return static_cast<Impl*>(data)->Set(name, value, error);
}

const GDBusInterfaceVTable MprisService::Impl::kVTable = {OnMethodCall, OnGetProperty, OnSetProperty, {}};

gboolean MprisService::Impl::OnIdle(gpointer data)
{
    auto* impl = static_cast<Impl*>(data);
    impl->idleId = 0;
    impl->Publish();
    return G_SOURCE_REMOVE;
}

void MprisService::Impl::OnNameLost(GDBusConnection* connection, const gchar* name, gpointer data)
{
    auto* impl = static_cast<Impl*>(data);
    if (!connection || impl->triedInstanceName) {
        LogText(wxString("MprisService :: Start - Bus name not obtained: ") + name);
        return;
    }
    // Another player of ours has the name: a second instance takes the
    // instance name the media controls also look for.
    impl->triedInstanceName = true;
    g_bus_unown_name(impl->ownerId);
    std::string instance = std::string(MprisService::kBusName) + ".instance" + std::to_string(getpid());
    impl->ownerId = g_bus_own_name_on_connection(connection, instance.c_str(), G_BUS_NAME_OWNER_FLAGS_NONE,
                                                 nullptr, OnNameLost, impl, nullptr);
}

void MprisService::Impl::Start()
{
    // Only a bus the session runs, named in the environment or at the
    // user's runtime folder: GLib would otherwise start a daemon of its own
    // for us (dbus-launch) that no media control listens to.
    std::string address;
    if (const char* named = std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        address = named;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (address.empty() && runtime) {
        std::string socket = std::string(runtime) + "/bus";
        if (g_file_test(socket.c_str(), G_FILE_TEST_EXISTS)) {
            gchar* escaped = g_dbus_address_escape_value(socket.c_str());
            address = std::string("unix:path=") + escaped;
            g_free(escaped);
        }
    }
    GError* error = nullptr;
    if (!address.empty()) {
        connection = g_dbus_connection_new_for_address_sync(
            address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
    }
    if (!connection) {
        wxString reason = error ? wxString::FromUTF8(error->message) : wxString("none is running");
        LogText("MprisService :: Start - No session bus (" + reason +
                "): media keys and desktop controls are off");
        g_clear_error(&error);
        return;
    }

    node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
    rootId = g_dbus_connection_register_object(connection, kObjectPath, node->interfaces[0], &kVTable, this,
                                               nullptr, nullptr);
    playerId = g_dbus_connection_register_object(connection, kObjectPath, node->interfaces[1], &kVTable, this,
                                                 nullptr, nullptr);
    published = player.GetStatus();
    ownerId = g_bus_own_name_on_connection(connection, kBusName, G_BUS_NAME_OWNER_FLAGS_NONE, nullptr,
                                           OnNameLost, this, nullptr);
}

MprisService::Impl::~Impl()
{
    if (idleId)
        g_source_remove(idleId);
    if (ownerId)
        g_bus_unown_name(ownerId);
    if (connection) {
        if (rootId)
            g_dbus_connection_unregister_object(connection, rootId);
        if (playerId)
            g_dbus_connection_unregister_object(connection, playerId);
        // The reply to a Quit is still on its way out.
        g_dbus_connection_flush_sync(connection, nullptr, nullptr);
        g_dbus_connection_close_sync(connection, nullptr, nullptr);
        g_object_unref(connection);
    }
    if (node)
        g_dbus_node_info_unref(node);
}

void MprisService::Impl::Publish()
{
    DesktopStatus status = player.GetStatus();
    if (status == published)
        return;
    GVariantBuilder changed;
    g_variant_builder_init(&changed, G_VARIANT_TYPE("a{sv}"));
    for (const char* name : kPublished) {
        GVariant* before = g_variant_ref_sink(PlayerProperty(name, published, player));
        GVariant* now = g_variant_ref_sink(PlayerProperty(name, status, player));
        if (!g_variant_equal(before, now))
            g_variant_builder_add(&changed, "{sv}", name, now);
        g_variant_unref(before);
        g_variant_unref(now);
    }
    published = status;
    g_dbus_connection_emit_signal(connection, nullptr, kObjectPath, "org.freedesktop.DBus.Properties",
                                  "PropertiesChanged",
                                  g_variant_new("(sa{sv}as)", kPlayerInterface, &changed, nullptr), nullptr);
}

void MprisService::Impl::Call(const char* interface, const char* method, GVariant* parameters,
                              GDBusMethodInvocation* invocation)
{
    struct Transport {
        const char* method;
        Command command;
    };
    static const Transport transport[] = {
        {"Play", Command::Play}, {"Pause", Command::Pause}, {"PlayPause", Command::PlayPause},
        {"Stop", Command::Stop}, {"Next", Command::Next},   {"Previous", Command::Previous},
    };
    if (!std::strcmp(interface, kRootInterface)) {
        // The answer goes out first: Quit ends the program.
        g_dbus_method_invocation_return_value(invocation, nullptr);
        if (!std::strcmp(method, "Raise"))
            player.Raise();
        else if (!std::strcmp(method, "Quit"))
            player.Quit();
        return;
    }
    for (const Transport& t : transport) {
        if (!std::strcmp(method, t.method)) {
            player.Execute(t.command);
            g_dbus_method_invocation_return_value(invocation, nullptr);
            return;
        }
    }
    if (!std::strcmp(method, "Seek")) {
        gint64 offset = 0;
        g_variant_get(parameters, "(x)", &offset);
        Seek(offset);
    } else if (!std::strcmp(method, "SetPosition")) {
        const gchar* trackId = nullptr;
        gint64 position = 0;
        g_variant_get(parameters, "(&ox)", &trackId, &position);
        SetPosition(trackId, position);
    } else if (!std::strcmp(method, "OpenUri")) {
        const gchar* uri = nullptr;
        g_variant_get(parameters, "(&s)", &uri);
        gchar* file = g_filename_from_uri(uri, nullptr, nullptr);
        if (!file) {
            g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                                  "Not a file URI: %s", uri);
            return;
        }
        player.OpenFile(wxString(file, *wxConvFileName));
        g_free(file);
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
}

void MprisService::Impl::Seek(int64_t offset)
{
    DesktopStatus status = player.GetStatus();
    if (!status.canSeek)
        return;
    int64_t target = player.GetPositionUs() + offset;
    // Past the end is the next file, as the media controls expect.
    if (target > status.lengthUs)
        player.Execute(Command::Next);
    else
        player.SetPositionUs(std::max<int64_t>(0, target));
}

void MprisService::Impl::SetPosition(const char* trackId, int64_t position)
{
    DesktopStatus status = player.GetStatus();
    // A request for a file that is no longer current, or beyond its length, is ignored.
    if (!status.canSeek || TrackId(status.path) != trackId || position < 0 || position > status.lengthUs)
        return;
    player.SetPositionUs(position);
}

bool MprisService::Impl::Set(const char* name, GVariant* value, GError** error)
{
    if (!std::strcmp(name, "LoopStatus")) {
        const char* loop = g_variant_get_string(value, nullptr);
        // One file over and over is not a mode the player has.
        if (std::strcmp(loop, "None") && std::strcmp(loop, "Playlist")) {
            g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_NOT_SUPPORTED, "LoopStatus %s is not supported",
                        loop);
            return false;
        }
        player.SetLoop(!std::strcmp(loop, "Playlist"));
    } else if (!std::strcmp(name, "Shuffle")) {
        player.SetRandom(g_variant_get_boolean(value));
    } else if (!std::strcmp(name, "Volume")) {
        double volume = std::max(0.0, std::min(1.0, g_variant_get_double(value)));
        player.SetVolume(static_cast<int>(std::lround(volume * 100)));
    } else if (std::strcmp(name, "Rate")) {
        g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_PROPERTY_READ_ONLY, "%s is read-only", name);
        return false;
    }
    // The rate stays 1.0 whatever is asked.
    return true;
}

MprisService::MprisService(DesktopPlayer& player) : m_impl(new Impl(player))
{
    m_impl->Start();
}

MprisService::~MprisService() = default;

void MprisService::Changed()
{
    if (m_impl->connection && !m_impl->idleId)
        m_impl->idleId = g_idle_add(Impl::OnIdle, m_impl.get());
}

void MprisService::Seeked(int64_t positionUs)
{
    if (m_impl->connection)
        g_dbus_connection_emit_signal(m_impl->connection, nullptr, kObjectPath, kPlayerInterface, "Seeked",
                                      g_variant_new("(x)", static_cast<gint64>(positionUs)), nullptr);
}

bool MprisService::IsOnBus() const
{
    return m_impl->connection != nullptr;
}

} // namespace BrelkosPlayer
