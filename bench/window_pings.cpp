// How soon the desktop program's window answers, measured the way a window
// manager does: _NET_WM_PING client messages, whose answer the program's GUI
// thread sends back to the root window. A window that answers late also
// handles keys and clicks late.
//
//   window_pings ping CLASS [INTERVAL_MS]   ping the window of WM_CLASS CLASS until
//                                           SIGTERM or SIGINT; print "SECONDS LATENCY_MS"
//                                           for each answer (seconds since the epoch),
//                                           "SECONDS lost" for pings that never came back
//   window_pings key CLASS KEY              send KEY (such as Return, ctrl+r) to the
//                                           active window of WM_CLASS CLASS
//
// Runs against $DISPLAY; needs a window manager for the active window.
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

volatile sig_atomic_t g_stop = 0;

double now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = r != nullptr ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(r);
  return a;
}

std::string property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop, xcb_atom_t type) {
  xcb_get_property_reply_t* r = xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, type, 0, 1024), nullptr);
  std::string value;
  if (r != nullptr)
    value.assign(static_cast<const char*>(xcb_get_property_value(r)),
                 static_cast<size_t>(xcb_get_property_value_length(r)));
  std::free(r);
  return value;
}

// The managed top-level windows (the window manager's list) of WM_CLASS
// `cls`, instance or class, with or without dialogs (WM_TRANSIENT_FOR); the
// largest first, which is the main window.
std::vector<xcb_window_t> windowsOf(xcb_connection_t* c, xcb_window_t root, const char* cls, bool dialogs = false) {
  const xcb_atom_t list = atom(c, "_NET_CLIENT_LIST");
  const std::string ids = property(c, root, list, XCB_ATOM_WINDOW);
  std::vector<std::pair<uint32_t, xcb_window_t>> found;
  for (size_t i = 0; i + sizeof(xcb_window_t) <= ids.size(); i += sizeof(xcb_window_t)) {
    xcb_window_t w = 0;
    std::memcpy(&w, ids.data() + i, sizeof w);
    const std::string wmClass = property(c, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    const std::string instance = wmClass.substr(0, wmClass.find('\0'));
    const std::string klass = wmClass.size() > instance.size() + 1 ? wmClass.substr(instance.size() + 1) : "";
    if (strcasecmp(instance.c_str(), cls) != 0 && strncasecmp(klass.c_str(), cls, std::strlen(cls)) != 0) continue;
    if (!dialogs && !property(c, w, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW).empty()) continue;
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
    const uint32_t area = g != nullptr ? static_cast<uint32_t>(g->width) * g->height : 0;
    std::free(g);
    found.emplace_back(area, w);
  }
  std::vector<xcb_window_t> out;
  while (!found.empty()) {
    size_t best = 0;
    for (size_t i = 1; i < found.size(); ++i)
      if (found[i].first > found[best].first) best = i;
    out.push_back(found[best].second);
    found.erase(found.begin() + static_cast<long>(best));
  }
  return out;
}

int ping(xcb_connection_t* c, xcb_window_t root, const char* cls, int intervalMs) {
  std::vector<xcb_window_t> windows;
  for (int i = 0; i < 600 && windows.empty() && !g_stop; ++i) {
    windows = windowsOf(c, root, cls);
    if (windows.empty()) poll(nullptr, 0, 100);
  }
  if (windows.empty()) {
    std::fprintf(stderr, "no window of class %s\n", cls);
    return 1;
  }
  // Qt may make the window anew (a web view switches it to OpenGL): look for
  // it again now and then.
  xcb_window_t target = windows.front();
  double lookAgain = now() + 1;
  // The answer goes to the root window (Qt sends it for structure-notify
  // listeners); we see it beside the window manager.
  const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
  const xcb_atom_t pingAtom = atom(c, "_NET_WM_PING");
  std::map<uint32_t, double> sent;
  uint32_t serial = 1;
  double next = now();
  while (!g_stop) {
    const double t = now();
    if (t >= lookAgain) {
      windows = windowsOf(c, root, cls);
      if (!windows.empty()) target = windows.front();
      lookAgain = t + 1;
    }
    if (t >= next) {
      xcb_client_message_event_t ev{};
      ev.response_type = XCB_CLIENT_MESSAGE;
      ev.format = 32;
      ev.window = target;
      ev.type = protocols;
      ev.data.data32[0] = pingAtom;
      ev.data.data32[1] = serial;  // stands for the timestamp; it comes back as sent
      ev.data.data32[2] = target;
      xcb_send_event(c, 0, target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
      xcb_flush(c);
      sent[serial++] = t;
      next += intervalMs / 1000.0;
    }
    pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
    const int wait = static_cast<int>((next - now()) * 1000);
    poll(&p, 1, wait > 0 ? wait : 0);
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
      if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
        const auto* m = reinterpret_cast<xcb_client_message_event_t*>(e);
        if (m->type == protocols && m->data.data32[0] == pingAtom) {
          const auto it = sent.find(m->data.data32[1]);
          if (it != sent.end()) {
            std::printf("%.3f %.1f\n", it->second, (now() - it->second) * 1000);
            std::fflush(stdout);
            sent.erase(it);
          }
        }
      }
      std::free(e);
    }
    if (xcb_connection_has_error(c)) break;
  }
  for (const auto& [s, t] : sent) std::printf("%.3f lost\n", t);
  return 0;
}

struct KeyName {
  const char* name;
  uint32_t keysym;
};
const KeyName kKeys[] = {{"return", 0xff0d}, {"escape", 0xff1b}, {"tab", 0xff09}, {"space", 0x20}, {"f1", 0xffbe}};

int key(xcb_connection_t* c, xcb_window_t root, const xcb_setup_t* setup, const char* cls, std::string chord) {
  uint16_t state = 0;
  for (size_t plus; (plus = chord.find('+')) != std::string::npos; chord.erase(0, plus + 1)) {
    const std::string mod = chord.substr(0, plus);
    if (strcasecmp(mod.c_str(), "ctrl") == 0) state |= XCB_MOD_MASK_CONTROL;
    if (strcasecmp(mod.c_str(), "shift") == 0) state |= XCB_MOD_MASK_SHIFT;
    if (strcasecmp(mod.c_str(), "alt") == 0) state |= XCB_MOD_MASK_1;
  }
  uint32_t keysym = chord.size() == 1 ? static_cast<unsigned char>(chord[0]) : 0;
  for (const KeyName& k : kKeys)
    if (strcasecmp(chord.c_str(), k.name) == 0) keysym = k.keysym;
  if (keysym == 0) {
    std::fprintf(stderr, "unknown key %s\n", chord.c_str());
    return 2;
  }
  const uint8_t first = setup->min_keycode;
  const uint8_t count = static_cast<uint8_t>(setup->max_keycode - first + 1);
  xcb_get_keyboard_mapping_reply_t* map =
      xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, count), nullptr);
  if (map == nullptr) return 1;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
  xcb_keycode_t code = 0;
  for (int i = 0; i < count * map->keysyms_per_keycode && code == 0; ++i)
    if (syms[i] == keysym) code = static_cast<xcb_keycode_t>(first + i / map->keysyms_per_keycode);
  std::free(map);
  if (code == 0) {
    std::fprintf(stderr, "no key code for %s\n", chord.c_str());
    return 1;
  }
  // The active window when it is one of the program's (a dialog, say), else
  // its main window.
  const std::string active = property(c, root, atom(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
  xcb_window_t target = 0;
  if (active.size() >= sizeof target) std::memcpy(&target, active.data(), sizeof target);
  const std::vector<xcb_window_t> all = windowsOf(c, root, cls, true);
  bool known = false;
  for (const xcb_window_t w : all) known = known || w == target;
  if (!known) {
    const std::vector<xcb_window_t> windows = windowsOf(c, root, cls);
    if (windows.empty()) {
      std::fprintf(stderr, "no window of class %s\n", cls);
      return 1;
    }
    target = windows.front();
  }
  for (const uint8_t type : {uint8_t{XCB_KEY_PRESS}, uint8_t{XCB_KEY_RELEASE}}) {
    xcb_key_press_event_t ev{};
    ev.response_type = type;
    ev.detail = code;
    ev.time = XCB_CURRENT_TIME;
    ev.root = root;
    ev.event = target;
    ev.child = XCB_WINDOW_NONE;
    ev.state = state;
    ev.same_screen = 1;
    xcb_send_event(c, 1, target, type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE,
                   reinterpret_cast<const char*>(&ev));
  }
  xcb_flush(c);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[1], "ping") != 0 && std::strcmp(argv[1], "key") != 0) ||
      (std::strcmp(argv[1], "key") == 0 && argc < 4)) {
    std::fprintf(stderr, "usage: %s ping CLASS [INTERVAL_MS] | key CLASS KEY\n", argv[0]);
    return 2;
  }
  signal(SIGTERM, [](int) { g_stop = 1; });
  signal(SIGINT, [](int) { g_stop = 1; });
  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  const xcb_setup_t* setup = xcb_get_setup(c);
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
  for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
  const xcb_window_t root = it.data->root;
  const int rc = std::strcmp(argv[1], "ping") == 0 ? ping(c, root, argv[2], argc > 3 ? std::atoi(argv[3]) : 50)
                                                   : key(c, root, setup, argv[2], argv[3]);
  xcb_disconnect(c);
  return rc;
}
