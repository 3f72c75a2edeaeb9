#include "platform/x11_window_watcher.h"

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fmt/core.h>
#include <string>

#include "playback/channel_process_tree.h"

namespace kadrel {

namespace {

bool WaylandSession() {
  const char* type = std::getenv("XDG_SESSION_TYPE");
  const char* qpa = std::getenv("QT_QPA_PLATFORM");
  return (type != nullptr && std::strcmp(type, "wayland") == 0) ||
         (qpa != nullptr && std::strncmp(qpa, "wayland", 7) == 0);
}

void LogUnavailableOnce(const char* why) {
  static std::atomic<bool> logged{false};
  if (!logged.exchange(true)) fmt::print(stderr, "kadrel: player windows are left alone: {}\n", why);
}

xcb_atom_t Intern(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

}  // namespace

struct X11WindowWatcher::X {
  xcb_connection_t* c = nullptr;
  xcb_ewmh_connection_t ewmh{};
  int screen = 0;
  xcb_window_t root = 0;
  xcb_atom_t wmProtocols = 0, wmDeleteWindow = 0, wmChangeState = 0, wmState = 0;

  ~X() {
    xcb_ewmh_connection_wipe(&ewmh);
    xcb_disconnect(c);
  }

  bool Supports(xcb_atom_t atom) {
    xcb_ewmh_get_atoms_reply_t supported;
    if (!xcb_ewmh_get_supported_reply(&ewmh, xcb_ewmh_get_supported(&ewmh, screen), &supported, nullptr))
      return false;
    bool found = false;
    for (uint32_t i = 0; i < supported.atoms_len; ++i) found = found || supported.atoms[i] == atom;
    xcb_ewmh_get_atoms_reply_wipe(&supported);
    return found;
  }

  std::vector<xcb_window_t> TopLevels() {
    std::vector<xcb_window_t> windows;
    xcb_ewmh_get_windows_reply_t clients;
    if (xcb_ewmh_get_client_list_reply(&ewmh, xcb_ewmh_get_client_list(&ewmh, screen), &clients, nullptr)) {
      windows.assign(clients.windows, clients.windows + clients.windows_len);
      xcb_ewmh_get_windows_reply_wipe(&clients);
      return windows;
    }
    // No window manager list: the root's children and, under a reparenting manager,
    // their children.
    for (xcb_window_t top : Children(root)) {
      windows.push_back(top);
      for (xcb_window_t inner : Children(top)) windows.push_back(inner);
    }
    return windows;
  }

  std::vector<xcb_window_t> Children(xcb_window_t parent) {
    std::vector<xcb_window_t> out;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr);
    if (tree == nullptr) return out;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    out.assign(children, children + xcb_query_tree_children_length(tree));
    std::free(tree);
    return out;
  }

  bool Shown(xcb_window_t w) {
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
    if (attributes == nullptr) return false;
    const bool viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE && !attributes->override_redirect;
    std::free(attributes);
    if (viewable) return true;
    // A minimised window is unmapped but keeps WM_STATE Iconic (3).
    xcb_get_property_reply_t* state =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, wmState, wmState, 0, 2), nullptr);
    if (state == nullptr) return false;
    const bool iconic = xcb_get_property_value_length(state) >= 4 &&
                        *static_cast<const uint32_t*>(xcb_get_property_value(state)) == 3;
    std::free(state);
    return iconic;
  }

  bool Owned(xcb_window_t w) {
    xcb_window_t owner = XCB_NONE;
    return xcb_icccm_get_wm_transient_for_reply(c, xcb_icccm_get_wm_transient_for(c, w), &owner, nullptr) &&
           owner != XCB_NONE;
  }

  bool SpeaksDeleteWindow(xcb_window_t w) {
    xcb_icccm_get_wm_protocols_reply_t protocols;
    if (!xcb_icccm_get_wm_protocols_reply(c, xcb_icccm_get_wm_protocols(c, w, wmProtocols), &protocols, nullptr))
      return false;
    bool found = false;
    for (uint32_t i = 0; i < protocols.atoms_len; ++i) found = found || protocols.atoms[i] == wmDeleteWindow;
    xcb_icccm_get_wm_protocols_reply_wipe(&protocols);
    return found;
  }

  void SendClientMessage(xcb_window_t to, xcb_window_t about, xcb_atom_t type, uint32_t d0, uint32_t d1,
                         uint32_t eventMask) {
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = about;
    event.type = type;
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    xcb_send_event(c, 0, to, eventMask, reinterpret_cast<const char*>(&event));
  }
};

X11WindowWatcher::X11WindowWatcher(const char* display) {
  if (WaylandSession()) {
    LogUnavailableOnce("a Wayland session gives no access to other programs' windows");
    return;
  }
  const char* name = display != nullptr ? display : std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') {
    LogUnavailableOnce("no X11 display");
    return;
  }
  auto x = std::make_unique<X>();
  x->c = xcb_connect(name, &x->screen);
  if (xcb_connection_has_error(x->c)) {
    xcb_disconnect(x->c);
    x->c = nullptr;
    LogUnavailableOnce("the X11 display cannot be reached");
    return;
  }
  xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(x->c, &x->ewmh);
  if (!xcb_ewmh_init_atoms_replies(&x->ewmh, cookies, nullptr)) {
    xcb_disconnect(x->c);
    x->c = nullptr;
    LogUnavailableOnce("the X11 display gave no window-manager atoms");
    return;
  }
  x->root = x->ewmh.screens[x->screen]->root;
  x->wmProtocols = Intern(x->c, "WM_PROTOCOLS");
  x->wmDeleteWindow = Intern(x->c, "WM_DELETE_WINDOW");
  x->wmChangeState = Intern(x->c, "WM_CHANGE_STATE");
  x->wmState = Intern(x->c, "WM_STATE");
  x_ = std::move(x);
}

X11WindowWatcher::~X11WindowWatcher() = default;

void X11WindowWatcher::SetOwnWindow(uint32_t window) {
  std::lock_guard lock(mutex_);
  ownWindow_ = window;
}

std::vector<uint32_t> X11WindowWatcher::WindowsOf(pid_t pid) {
  std::lock_guard lock(mutex_);
  return FindWindows(pid);
}

std::vector<uint32_t> X11WindowWatcher::FindWindows(pid_t pid) {
  std::vector<uint32_t> found;
  if (!x_ || pid <= 0) return found;
  for (xcb_window_t w : x_->TopLevels()) {
    uint32_t windowPid = 0;
    if (!xcb_ewmh_get_wm_pid_reply(&x_->ewmh, xcb_ewmh_get_wm_pid(&x_->ewmh, w), &windowPid, nullptr)) continue;
    if (!ProcessBelongsTo(static_cast<pid_t>(windowPid), pid)) continue;
    if (x_->Owned(w) || !x_->Shown(w)) continue;
    found.push_back(w);
  }
  return found;
}

bool X11WindowWatcher::HasWindow(pid_t pid) {
  std::lock_guard lock(mutex_);
  return !FindWindows(pid).empty();
}

void X11WindowWatcher::Minimise(pid_t pid) {
  std::lock_guard lock(mutex_);
  if (!x_) return;
  constexpr uint32_t kIconicState = 3;
  for (xcb_window_t w : FindWindows(pid))
    x_->SendClientMessage(x_->root, w, x_->wmChangeState, kIconicState, 0,
                          XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
  xcb_flush(x_->c);
}

void X11WindowWatcher::Raise(pid_t pid) {
  std::lock_guard lock(mutex_);
  if (!x_) return;
  for (xcb_window_t w : FindWindows(pid)) {
    xcb_map_window(x_->c, w);
    xcb_ewmh_request_change_active_window(&x_->ewmh, x_->screen, w, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                          XCB_CURRENT_TIME, XCB_NONE);
  }
  xcb_flush(x_->c);
}

void X11WindowWatcher::FocusOwnWindow() {
  std::lock_guard lock(mutex_);
  if (!x_ || ownWindow_ == 0) return;
  xcb_ewmh_request_change_active_window(&x_->ewmh, x_->screen, ownWindow_, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                        XCB_CURRENT_TIME, XCB_NONE);
  xcb_flush(x_->c);
}

bool X11WindowWatcher::Close(pid_t pid) {
  std::lock_guard lock(mutex_);
  if (!x_) return false;
  const std::vector<uint32_t> windows = FindWindows(pid);
  const bool manager = x_->Supports(x_->ewmh._NET_CLOSE_WINDOW);
  bool asked = false;
  for (xcb_window_t w : windows) {
    if (manager) {
      xcb_ewmh_request_close_window(&x_->ewmh, x_->screen, w, XCB_CURRENT_TIME, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
      asked = true;
    } else if (x_->SpeaksDeleteWindow(w)) {
      x_->SendClientMessage(w, w, x_->wmProtocols, x_->wmDeleteWindow, XCB_CURRENT_TIME, XCB_EVENT_MASK_NO_EVENT);
      asked = true;
    }
  }
  xcb_flush(x_->c);
  return asked;
}

}  // namespace kadrel
