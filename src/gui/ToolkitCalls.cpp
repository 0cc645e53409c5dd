#include "gui/ToolkitCalls.h"

#include <dlfcn.h>
#include <wx/window.h>

namespace BrelkosPlayer {

namespace {

template <typename Function>
Function Find(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
}

// GtkResizeMode's GTK_RESIZE_QUEUE, GtkStyleProvider's
// GTK_STYLE_PROVIDER_PRIORITY_APPLICATION.
const int kResizeQueue = 1;
const unsigned kApplicationPriority = 600;

} // namespace

void FlushDisplay()
{
    static auto getDefault = Find<void* (*)()>("gdk_display_get_default");
    static auto flush = Find<void (*)(void*)>("gdk_display_flush");
    if (!getDefault || !flush)
        return;
    if (void* display = getDefault())
        flush(display);
}

// The X video sinks paint every frame straight into the control's X window,
// and GTK 3 draws child widgets into their parent's X window: the panel would
// be painted over. An X window of its own keeps it on top.
bool GiveNativeWindow(wxWindow* window)
{
    static auto getWindow = Find<void* (*)(void*)>("gtk_widget_get_window");
    static auto ensureNative = Find<int (*)(void*)>("gdk_window_ensure_native");
    if (!getWindow || !ensureNative || !window->GetHandle())
        return false;
    void* gdkWindow = getWindow(window->GetHandle());
    return gdkWindow && ensureNative(gdkWindow);
}

// GTK 3's range widgets ask for a resize at every value (the knob's size is
// measured again), and a top-level window's resize asks the X server for the
// window's place and the desktop's work area: six round trips for each move
// of the position slider while a file plays. A container stops the resize
// when its resize mode is "queue" (deprecated since GTK 3.12, still honoured
// by 3.24): it then lays out its own children only.
void KeepResizesInParent(wxWindow* child)
{
    static auto getParent = Find<void* (*)(void*)>("gtk_widget_get_parent");
    static auto set = Find<void (*)(void*, const char*, ...)>("g_object_set");
    if (!getParent || !set || !child->GetHandle())
        return;
    if (void* parent = getParent(child->GetHandle()))
        set(parent, "resize-mode", kResizeQueue, nullptr);
}

// Adwaita puts 12 px of empty padding above and below a slider's trough, and
// GTK will not lay a slider out smaller than that: 34 px where our layout has
// 17 or 18. Grown, the slider overlaps the labels and check boxes beside it,
// and each redraw of its knob redraws them too.
void DropVerticalPadding(wxWindow* slider)
{
    static auto newProvider = Find<void* (*)()>("gtk_css_provider_new");
    static auto load = Find<int (*)(void*, const char*, long, void*)>("gtk_css_provider_load_from_data");
    static auto styleOf = Find<void* (*)(void*)>("gtk_widget_get_style_context");
    static auto add = Find<void (*)(void*, void*, unsigned)>("gtk_style_context_add_provider");
    static auto unref = Find<void (*)(void*)>("g_object_unref");
    if (!newProvider || !load || !styleOf || !add || !unref || !slider->GetHandle())
        return;
    void* provider = newProvider();
    if (!provider)
        return;
    if (load(provider, "scale { padding-top: 0; padding-bottom: 0; }", -1, nullptr))
        add(styleOf(slider->GetHandle()), provider, kApplicationPriority);
    unref(provider);
}

} // namespace BrelkosPlayer
