#pragma once
// The stored values of the key customisation window: the key file in use ("\Main"
// "KeyCust") and the window's sizes under "\Grid".

#include <array>
#include <string>

#include "settings/reg_treat.h"

namespace kadrel {

struct KeyWindowSettings {
  std::string keyFile;  // full path of the key definition file
  int height = 400;
  int width = 620;
  int splitter = 174;  // width of the function list
  std::array<int, 5> columnWidths{40, 100, 100, 100, 100};
};

// Reads the values, writing the defaults of missing ones.
KeyWindowSettings ReadKeyWindowSettings(RegTreat& reg);
void WriteKeyWindowSettings(RegTreat& reg, const KeyWindowSettings& settings);

}  // namespace kadrel
