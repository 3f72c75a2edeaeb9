// The window watcher on a bare X server (xvfb-run): a test window carrying our process
// id is found, an owned (transient) window is not, and closing asks through
// WM_DELETE_WINDOW.

#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/x11_window_watcher.h"

namespace kadrel::test {
namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// A small X client of our own: windows with _NET_WM_PID and WM_DELETE_WINDOW.
class TestClient {
 public:
  TestClient() {
    int screenNumber = 0;
    c_ = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c_)) return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
    screen_ = it.data;
    protocols_ = Atom(c_, "WM_PROTOCOLS");
    delete_ = Atom(c_, "WM_DELETE_WINDOW");
  }
  ~TestClient() { xcb_disconnect(c_); }
  bool Ok() const { return screen_ != nullptr; }

  xcb_window_t Window(uint32_t pid, xcb_window_t owner = XCB_NONE) {
    const xcb_window_t w = xcb_generate_id(c_);
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, w, screen_->root, 0, 0, 100, 80, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen_->root_visual, 0, nullptr);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w, Atom(c_, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
    xcb_icccm_set_wm_protocols(c_, w, protocols_, 1, &delete_);
    if (owner != XCB_NONE) xcb_icccm_set_wm_transient_for(c_, w, owner);
    xcb_map_window(c_, w);
    free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));  // a round trip: all of it is done
    return w;
  }

  // Waits for a WM_DELETE_WINDOW message to `w`.
  bool AskedToClose(xcb_window_t w) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < end) {
      xcb_generic_event_t* event = xcb_poll_for_event(c_);
      if (event == nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        continue;
      }
      bool found = false;
      if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
        const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
        found = message->window == w && message->type == protocols_ && message->data.data32[0] == delete_;
      }
      std::free(event);
      if (found) return true;
    }
    return false;
  }

 private:
  xcb_connection_t* c_ = nullptr;
  xcb_screen_t* screen_ = nullptr;
  xcb_atom_t protocols_ = XCB_ATOM_NONE, delete_ = XCB_ATOM_NONE;
};

TEST(X11WindowWatcher, FindsTheProcessWindowAndAsksItToClose) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') GTEST_SKIP() << "no X11 display (run under xvfb-run)";
  TestClient client;
  ASSERT_TRUE(client.Ok());
  X11WindowWatcher watcher;
  ASSERT_TRUE(watcher.Available());

  const auto self = static_cast<uint32_t>(getpid());
  EXPECT_FALSE(watcher.HasWindow(getpid()));
  const xcb_window_t main = client.Window(self);
  client.Window(self, main);  // a dialog of the player: owned, not its window
  client.Window(1);           // someone else's window
  EXPECT_TRUE(watcher.HasWindow(getpid()));
  EXPECT_EQ(watcher.WindowsOf(getpid()), std::vector<uint32_t>{main});

  EXPECT_TRUE(watcher.Close(getpid()));
  EXPECT_TRUE(client.AskedToClose(main));
  watcher.Minimise(getpid());  // without a window manager only the request goes out
}

TEST(X11WindowWatcher, WithoutADisplayEverythingIsANoOp) {
  X11WindowWatcher watcher(":4711");
  EXPECT_FALSE(watcher.Available());
  EXPECT_FALSE(watcher.HasWindow(getpid()));
  EXPECT_FALSE(watcher.Close(getpid()));
  watcher.Raise(getpid());
  watcher.FocusOwnWindow();
}

}  // namespace
}  // namespace kadrel::test
