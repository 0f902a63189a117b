// The desktop host's frames, stacking, shapes, monitors and app bars against a
// real X server with a window manager (run_on_test_desktop.py starts Xvfb and
// openbox for it). What the host did is read back through Xlib: shape
// rectangles, the stacking of the window manager's frames, properties; clicks
// are made with XTest. Every wait is a hang guard that polls the main loop.
// GoogleTest comes before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/desktop/gtk_desktop.h"

namespace ixo::platform {
namespace {

constexpr auto kHangGuard = std::chrono::seconds(5);

class RecordingListener : public WindowListener {
 public:
  void OnMouseDown(MouseButton, Point position) override { downs.push_back(position); }
  void OnMouseMove(Point) override {}
  void OnMouseUp(MouseButton, Point) override {}
  void OnDoubleClick(Point) override {}
  void OnWheel(bool) override {}
  void OnKeyDown(int) override {}
  void OnKeyPress(unsigned char) override {}
  void OnKeyUp(int) override {}
  void OnPaint() override {}
  void OnMoved() override {}
  void OnResized() override {}
  void OnActivation(bool) override {}
  void OnCloseRequest() override {}
  void OnPrivateMessage(uint32_t number, uint64_t first, uint64_t second) override {
    messages.push_back({number, first, second});
  }

  struct Message {
    uint32_t number;
    uint64_t first;
    uint64_t second;
    friend bool operator==(const Message&, const Message&) = default;
  };
  std::vector<Point> downs;
  std::vector<Message> messages;
};

// The pixels a set of rectangles covers inside a width × height area.
std::set<std::pair<int, int>> Coverage(const std::vector<Rect>& rectangles, int width, int height) {
  std::set<std::pair<int, int>> pixels;
  for (const Rect& rect : rectangles)
    for (int y = std::max(rect.top, 0); y < std::min(rect.top + rect.height, height); ++y)
      for (int x = std::max(rect.left, 0); x < std::min(rect.left + rect.width, width); ++x) pixels.insert({x, y});
  return pixels;
}

class DesktopServicesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    desktop_ = GtkDesktop::Open(error).release();
    ASSERT_NE(desktop_, nullptr) << error;
  }

  void SetUp() override { ASSERT_NE(desktop_, nullptr); }

  void TearDown() override {
    for (WindowId window : windows_) desktop_->DestroyWindow(window);
    for (::Window window : foreign_) XDestroyWindow(other_display(), window);
    if (other_display_) XCloseDisplay(other_display_);
    Settle();
  }

  Display* display() { return gdk_x11_get_default_xdisplay(); }

  // A second connection stands for another program.
  Display* other_display() {
    if (!other_display_) other_display_ = XOpenDisplay(nullptr);
    return other_display_;
  }

  // Runs the main loop until the condition holds; false when it never did.
  bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kHangGuard;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      XSync(display(), False);
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      g_usleep(2000);
    }
    return true;
  }

  // Lets the window manager and GTK catch up with what was asked.
  void Settle() {
    XSync(display(), False);
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
  }

  WindowId NewWindow(RecordingListener& listener) {
    WindowId window = desktop_->CreateWindow(listener);
    windows_.push_back(window);
    return window;
  }

  bool Mapped(::Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display(), window, &attributes) && attributes.map_state == IsViewable;
  }

  Point ScreenOrigin(::Window window) {
    Point origin;
    ::Window child = 0;
    XTranslateCoordinates(display(), window, DefaultRootWindow(display()), 0, 0, &origin.x, &origin.y, &child);
    return origin;
  }

  // Shows an engine window at a place and waits until it is there.
  WindowId ShowAt(RecordingListener& listener, Rect bounds) {
    WindowId window = NewWindow(listener);
    desktop_->SetBounds(window, bounds);
    desktop_->Show(window);
    EXPECT_TRUE(WaitFor([&] {
      return Mapped(window) && ScreenOrigin(window) == Point{bounds.left, bounds.top};
    })) << "the window never showed at " << bounds.left << "," << bounds.top;
    return window;
  }

  // The window's ancestor among the root's children (the window manager's frame).
  ::Window TopLevelOf(::Window window) {
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    while (XQueryTree(display(), window, &root, &parent, &children, &count)) {
      if (children) XFree(children);
      if (parent == root || parent == 0) return window;
      window = parent;
    }
    return window;
  }

  ::Window ParentOf(::Window window) {
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display(), window, &root, &parent, &children, &count);
    if (children) XFree(children);
    return parent;
  }

  // The root's shown children from the bottom up.
  std::vector<::Window> StackingOrder() {
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    std::vector<::Window> order;
    if (XQueryTree(display(), DefaultRootWindow(display()), &root, &parent, &children, &count) && children)
      std::copy_if(children, children + count, std::back_inserter(order), [&](::Window w) { return Mapped(w); });
    if (children) XFree(children);
    return order;
  }

  // Where each window's frame stands in the stacking order, from the bottom.
  std::vector<ptrdiff_t> Levels(const std::vector<WindowId>& windows) {
    std::vector<::Window> order = StackingOrder();
    std::vector<ptrdiff_t> levels;
    for (WindowId window : windows)
      levels.push_back(std::find(order.begin(), order.end(), TopLevelOf(window)) - order.begin());
    return levels;
  }

  void Click(int x, int y) {
    XTestFakeMotionEvent(display(), -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display(), 1, True, CurrentTime);
    XTestFakeButtonEvent(display(), 1, False, CurrentTime);
    XFlush(display());
  }

  // Clicks until the listener has one more press. The window manager's focus
  // handling may swallow a click on a window that was just shown; where a click
  // lands is what is checked, not that each one arrives.
  bool ClickReaches(int x, int y, const RecordingListener& listener) {
    const size_t before = listener.downs.size();
    int polls = 0;
    Click(x, y);
    return WaitFor([&] {
      if (listener.downs.size() > before) return true;
      if (++polls % 100 == 0) Click(x, y);
      return false;
    });
  }

  std::vector<Rect> ShapeRectangles(::Window window, int kind) {
    int count = 0, ordering = 0;
    XRectangle* rectangles = XShapeGetRectangles(display(), window, kind, &count, &ordering);
    std::vector<Rect> result;
    for (int i = 0; i < count; ++i)
      result.push_back({rectangles[i].x, rectangles[i].y, rectangles[i].width, rectangles[i].height});
    if (rectangles) XFree(rectangles);
    return result;
  }

  std::vector<long> Property(::Window window, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(display(), window, XInternAtom(display(), name, False), 0, 64, False, AnyPropertyType,
                           &type, &format, &count, &remaining, &data) == Success &&
        data && format == 32)
      values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
    if (data) XFree(data);
    return values;
  }

  static inline GtkDesktop* desktop_ = nullptr;
  std::vector<WindowId> windows_;
  std::vector<::Window> foreign_;
  Display* other_display_ = nullptr;
};

TEST_F(DesktopServicesTest, ShapeSetsBoundingAndInputShapeToTheRectangles) {
  // Overlapping, touching, separate and partly outside the window: the X
  // server keeps them in its own banded form, so the covered pixels are compared.
  const std::vector<std::vector<Rect>> table = {
      {{0, 0, 60, 120}},
      {{0, 0, 60, 60}, {40, 40, 80, 80}},
      {{10, 10, 20, 20}, {90, 5, 30, 100}, {0, 110, 120, 10}},
      {{100, 100, 50, 50}},
      {},
  };
  RecordingListener listener;
  WindowId window = ShowAt(listener, {100, 100, 120, 120});
  for (const std::vector<Rect>& shape : table) {
    desktop_->SetShape(window, &shape);
    Settle();
    for (int kind : {ShapeBounding, ShapeInput})
      EXPECT_EQ(Coverage(ShapeRectangles(window, kind), 120, 120), Coverage(shape, 120, 120))
          << (kind == ShapeBounding ? "bounding" : "input") << " shape of " << shape.size() << " rectangle(s)";
  }

  // The shape stays when the window grows and when it is shown again.
  const std::vector<Rect> shape = {{0, 0, 30, 30}, {50, 50, 30, 30}};
  desktop_->SetShape(window, &shape);
  desktop_->SetBounds(window, {100, 100, 200, 150});
  desktop_->Hide(window);
  desktop_->Show(window);
  ASSERT_TRUE(WaitFor([&] { return Mapped(window); }));
  for (int kind : {ShapeBounding, ShapeInput})
    EXPECT_EQ(Coverage(ShapeRectangles(window, kind), 200, 150), Coverage(shape, 200, 150));

  // Without a shape the window is its whole rectangle again.
  desktop_->SetShape(window, nullptr);
  Settle();
  int bounding_shaped = 0, clip_shaped = 0, x = 0, y = 0;
  unsigned int width = 0, height = 0;
  XShapeQueryExtents(display(), window, &bounding_shaped, &x, &y, &width, &height, &clip_shaped, &x, &y, &width,
                     &height);
  EXPECT_FALSE(bounding_shaped);
  EXPECT_EQ(Coverage(ShapeRectangles(window, ShapeInput), 200, 150), Coverage({{0, 0, 200, 150}}, 200, 150));
}

TEST_F(DesktopServicesTest, ClicksInAHoleReachTheWindowBehind) {
  RecordingListener back_listener, front_listener;
  WindowId back = ShowAt(back_listener, {300, 200, 200, 200});
  WindowId front = ShowAt(front_listener, {300, 200, 200, 200});
  const auto bring_front_up = [&] {
    desktop_->Restack(front, StackPlace::kTop, 0, false);
    ASSERT_TRUE(WaitFor([&] {
      std::vector<ptrdiff_t> levels = Levels({back, front});
      return levels[1] > levels[0];
    })) << "the front window never came above the other";
  };
  bring_front_up();
  const std::vector<Rect> left_half = {{0, 0, 100, 200}};
  desktop_->SetShape(front, &left_half);
  Settle();

  // The right half is a hole of the front window.
  ASSERT_TRUE(ClickReaches(450, 300, back_listener)) << "the click in the hole went nowhere";
  EXPECT_EQ(back_listener.downs.back(), (Point{150, 100}));
  EXPECT_TRUE(front_listener.downs.empty());

  // The left half is the front window's (the window manager raised the clicked window).
  bring_front_up();
  const size_t back_clicks = back_listener.downs.size();
  ASSERT_TRUE(ClickReaches(350, 300, front_listener)) << "the shaped part took no click";
  EXPECT_EQ(front_listener.downs.back(), (Point{50, 100}));
  EXPECT_EQ(back_listener.downs.size(), back_clicks);

  // A disabled window takes no click: the next click, on the other window,
  // arrives after the one it would have had.
  desktop_->SetEnabled(front, false);
  EXPECT_FALSE(desktop_->IsEnabled(front));
  const size_t front_clicks = front_listener.downs.size();
  Click(350, 300);
  ASSERT_TRUE(ClickReaches(450, 300, back_listener));
  EXPECT_EQ(front_listener.downs.size(), front_clicks);
  desktop_->SetEnabled(front, true);
  bring_front_up();
  EXPECT_TRUE(ClickReaches(350, 300, front_listener)) << "the enabled window took no click";
}

TEST_F(DesktopServicesTest, OpacityIsRefusedWithoutACompositor) {
  RecordingListener listener;
  WindowId window = ShowAt(listener, {50, 50, 40, 40});
  EXPECT_FALSE(desktop_->SetOpacity(window, 128));
  EXPECT_FALSE(desktop_->SetOpacity(window + 1, 128));
}

TEST_F(DesktopServicesTest, FindByTitleFindsExactTitlesOfAnyProgram) {
  // Another program's window, titled in UTF-8 as a window manager lists it.
  Display* other = other_display();
  ASSERT_NE(other, nullptr);
  ::Window foreign = XCreateSimpleWindow(other, DefaultRootWindow(other), 600, 50, 80, 40, 0, 0, 0);
  foreign_.push_back(foreign);
  const std::string utf8_title = "Caf\xc3\xa9 tabl\xc3\xa9";
  XChangeProperty(other, foreign, XInternAtom(other, "_NET_WM_NAME", False), XInternAtom(other, "UTF8_STRING", False),
                  8, PropModeReplace, reinterpret_cast<const unsigned char*>(utf8_title.data()),
                  static_cast<int>(utf8_title.size()));
  XMapWindow(other, foreign);
  XSync(other, False);
  ASSERT_TRUE(WaitFor([&] {
    std::vector<long> clients = Property(DefaultRootWindow(display()), "_NET_CLIENT_LIST");
    return std::find(clients.begin(), clients.end(), static_cast<long>(foreign)) != clients.end();
  })) << "the window manager never listed the other program's window";

  RecordingListener shown_listener, hidden_listener;
  WindowId shown = ShowAt(shown_listener, {50, 300, 40, 40});
  desktop_->SetTitle(shown, "Ixo T\xe4st");
  WindowId hidden = NewWindow(hidden_listener);
  desktop_->SetTitle(hidden, "Never shown");
  Settle();

  // (script text, the window it names; 0 for none)
  const std::vector<std::pair<std::string, WindowId>> table = {
      {"Caf\xe9 tabl\xe9", foreign},
      {"Caf\xe9", 0},
      {"Caf\xe9 tabl\xe9 ", 0},
      {"Ixo T\xe4st", shown},
      {"Ixo T", 0},
      {"ixo t\xe4st", 0},
      {"Never shown", hidden},
      {"", 0},
  };
  for (const auto& [title, expected] : table) EXPECT_EQ(desktop_->FindByTitle(title), expected) << title;
}

TEST_F(DesktopServicesTest, RestackChangesTheStackingOrder) {
  RecordingListener listeners[3];
  std::vector<WindowId> windows;
  for (int i = 0; i < 3; ++i) windows.push_back(ShowAt(listeners[i], {100 + 30 * i, 450, 60, 60}));
  const WindowId a = windows[0], b = windows[1], c = windows[2];
  for (WindowId window : windows) desktop_->Restack(window, StackPlace::kTop, 0, false);
  ASSERT_TRUE(WaitFor([&] {
    std::vector<ptrdiff_t> levels = Levels(windows);
    return levels[0] < levels[1] && levels[1] < levels[2];
  }));

  // (what is asked, the order it must give from the bottom up)
  struct Case {
    WindowId window;
    StackPlace place;
    WindowId reference;
    std::vector<WindowId> order;
  };
  const std::vector<Case> table = {
      {c, StackPlace::kBehind, a, {c, a, b}},
      {a, StackPlace::kBottom, 0, {a, c, b}},
      {a, StackPlace::kTop, 0, {c, b, a}},
      {a, StackPlace::kBehind, b, {c, a, b}},
  };
  for (const Case& step : table) {
    desktop_->Restack(step.window, step.place, step.reference, false);
    EXPECT_TRUE(WaitFor([&] {
      std::vector<ptrdiff_t> levels = Levels(step.order);
      // Each directly on the one below: nothing of ours in between.
      return levels[0] < levels[1] && levels[1] < levels[2] && levels[1] == levels[0] + 1 && levels[2] == levels[1] + 1;
    })) << "step " << (&step - table.data()) << " of the table";
  }

  desktop_->Restack(b, StackPlace::kTopmost, 0, false);
  EXPECT_TRUE(desktop_->IsTopmost(b));
  EXPECT_TRUE(WaitFor([&] {
    std::vector<long> state = Property(b, "_NET_WM_STATE");
    return std::find(state.begin(), state.end(), static_cast<long>(XInternAtom(display(), "_NET_WM_STATE_ABOVE",
                                                                               False))) != state.end();
  }));
  desktop_->Restack(b, StackPlace::kNoTopmost, 0, false);
  EXPECT_FALSE(desktop_->IsTopmost(b));
}

TEST_F(DesktopServicesTest, ParentedWindowIsAChildOfItsParentAndComesBack) {
  RecordingListener parent_listener, child_listener;
  WindowId parent = ShowAt(parent_listener, {200, 300, 200, 150});
  WindowId child = ShowAt(child_listener, {20, 30, 40, 40});
  desktop_->SetParent(child, parent);
  ASSERT_TRUE(WaitFor([&] { return Mapped(child) && ScreenOrigin(child) == Point{220, 330}; }))
      << "the control is not at 20,30 in its parent: at " << ScreenOrigin(child).x << "," << ScreenOrigin(child).y
      << (ParentOf(child) == parent ? " inside it" : " outside it") << (Mapped(child) ? ", shown" : ", hidden");
  EXPECT_EQ(ParentOf(child), parent);
  EXPECT_EQ(desktop_->FindByTitle("ixo"), parent) << "a control was taken for a top-level window";

  // The control moves with its parent.
  desktop_->SetBounds(parent, {250, 320, 200, 150});
  ASSERT_TRUE(WaitFor([&] { return ScreenOrigin(child) == Point{270, 350}; }));
  EXPECT_EQ(desktop_->Bounds(child), (Rect{20, 30, 40, 40}));

  // Back on the desktop where it was on the screen.
  desktop_->SetParent(child, 0);
  ASSERT_TRUE(WaitFor([&] { return Mapped(child) && TopLevelOf(child) != TopLevelOf(parent); }));
  EXPECT_TRUE(WaitFor([&] { return ScreenOrigin(child) == Point{270, 350}; }));

  // Destroying a parent leaves its controls alive.
  desktop_->SetParent(child, parent);
  desktop_->DestroyWindow(parent);
  windows_.erase(std::find(windows_.begin(), windows_.end(), parent));
  Settle();
  EXPECT_TRUE(desktop_->IsVisible(child));
  EXPECT_NE(ParentOf(child), parent);
}

TEST_F(DesktopServicesTest, FrameIsZeroWithoutDecorationsAndTheWindowManagersOtherwise) {
  RecordingListener plain_listener, framed_listener;
  WindowId plain = ShowAt(plain_listener, {600, 400, 80, 80});
  EXPECT_EQ(desktop_->Frame(plain).top, 0);
  EXPECT_EQ(desktop_->Frame(plain).left, 0);

  WindowId framed = ShowAt(framed_listener, {700, 400, 80, 80});
  desktop_->SetBorder(framed, BorderStyle::kSizeable, {});
  ASSERT_TRUE(WaitFor([&] { return desktop_->Frame(framed).top > 0; })) << "no frame reported for a captioned window";
  const std::vector<long> extents = Property(framed, "_NET_FRAME_EXTENTS");
  ASSERT_EQ(extents.size(), 4u);
  const FrameExtents frame = desktop_->Frame(framed);
  EXPECT_EQ((std::vector<long>{frame.left, frame.right, frame.top, frame.bottom}), extents);

  desktop_->SetBorder(framed, BorderStyle::kNone, {});
  EXPECT_EQ(desktop_->Frame(framed).top, 0);
}

TEST_F(DesktopServicesTest, MonitorsHoldTheScreen) {
  std::vector<Monitor> monitors = desktop_->All();
  ASSERT_FALSE(monitors.empty());
  const Size screen{DisplayWidth(display(), DefaultScreen(display())), DisplayHeight(display(), DefaultScreen(display()))};
  EXPECT_EQ(monitors[0].bounds, (Rect{0, 0, screen.width, screen.height}));
  const Rect work = monitors[0].work_area;
  EXPECT_TRUE(work.width > 0 && work.height > 0 && work.left >= 0 && work.top >= 0 &&
              work.left + work.width <= screen.width && work.top + work.height <= screen.height);
}

TEST_F(DesktopServicesTest, AppBarReservesItsStripAndHearsOfWorkAreaChanges) {
  const int screen_height = DisplayHeight(display(), DefaultScreen(display()));
  RecordingListener bar_listener, other_listener;
  WindowId bar = ShowAt(bar_listener, {0, 0, 100, screen_height});
  WindowId other = NewWindow(other_listener);
  desktop_->RegisterAppBar(bar);
  desktop_->RegisterAppBar(other);
  ASSERT_TRUE(WaitFor([&] { return Mapped(bar); }));
  const Atom dock = XInternAtom(display(), "_NET_WM_WINDOW_TYPE_DOCK", False);
  EXPECT_EQ(Property(bar, "_NET_WM_WINDOW_TYPE"), (std::vector<long>{static_cast<long>(dock)}));

  const Rect strip{0, 0, 100, screen_height};
  EXPECT_EQ(desktop_->QueryAppBarPosition(bar, ScreenEdge::kLeft, strip), strip);
  desktop_->SetAppBarPosition(bar, ScreenEdge::kLeft, strip);
  EXPECT_EQ(Property(bar, "_NET_WM_STRUT_PARTIAL"),
            (std::vector<long>{100, 0, 0, 0, 0, screen_height - 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Property(bar, "_NET_WM_STRUT"), (std::vector<long>{100, 0, 0, 0}));

  const RecordingListener::Message changed{PrivateMessageNumber(PrivateMessage::kAppBar), kAppBarPositionChanged, 0};
  ASSERT_TRUE(WaitFor([&] { return desktop_->All()[0].work_area.left == 100; }))
      << "the window manager never took the strip off the work area";
  EXPECT_TRUE(WaitFor([&] {
    return std::count(bar_listener.messages.begin(), bar_listener.messages.end(), changed) > 0;
  })) << "the app bar did not hear of the work area change";

  // (who asks, the edge, the strip wanted, the strip granted): another bar goes
  // beside this one; this bar keeps its place; a strip is cut to the screen.
  struct Case {
    WindowId window;
    ScreenEdge edge;
    Rect wanted;
    Rect granted;
  };
  const std::vector<Case> table = {
      {other, ScreenEdge::kLeft, {0, 0, 50, screen_height}, {100, 0, 50, screen_height}},
      {bar, ScreenEdge::kLeft, strip, strip},
      {other, ScreenEdge::kTop, {-20, -10, 5000, 40}, {0, 0, DisplayWidth(display(), 0), 30}},
  };
  for (const Case& query : table)
    EXPECT_EQ(desktop_->QueryAppBarPosition(query.window, query.edge, query.wanted), query.granted)
        << "a strip at " << query.wanted.left << "," << query.wanted.top;

  desktop_->RemoveAppBar(bar);
  EXPECT_TRUE(Property(bar, "_NET_WM_STRUT_PARTIAL").empty());
  EXPECT_TRUE(WaitFor([&] { return desktop_->All()[0].work_area.left == 0; }))
      << "the work area did not get the strip back";
  EXPECT_TRUE(WaitFor([&] { return Mapped(bar); }));
  EXPECT_NE(Property(bar, "_NET_WM_WINDOW_TYPE"), (std::vector<long>{static_cast<long>(dock)}));
}

}  // namespace
}  // namespace ixo::platform
