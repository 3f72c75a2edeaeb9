#pragma once
// When the tray icon shows and when a minimised window leaves the task bar ("tasktray").
// A window is hidden only while a tray icon can bring it back.

#include "catalog/options.h"

namespace kadrel {

struct TrayDecision {
  bool showIcon = false;
  bool hideWindow = false;  // leave the task bar: only the tray icon brings it back
};

constexpr TrayDecision DecideTray(const TWindowOption& option, bool trayAvailable, bool minimised) {
  TrayDecision d;
  if (!trayAvailable || !option.TrayIcon) return d;
  d.showIcon = option.TrayAlways || minimised;
  d.hideWindow = minimised && option.TrayHideTaskbar;
  return d;
}

}  // namespace kadrel
