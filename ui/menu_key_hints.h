#pragma once
// Menus show the key bound to each item's command as hint text after the caption.
// No Qt shortcut is set: it would take the key away from the lists' key dispatch.

#include <string>

#include "commands/key_table.h"
#include "ui/main_actions.h"

namespace kadrel {

// "Ctrl+K", "Shift+Home", "F1", "\\"; empty when the command is bound to no key.
std::string KeyHintText(const KeyTable& table, std::string_view commandUtf8);

// Sets the hint of every menu item that runs a command.
void ShowKeyHints(const MainActions& actions, const KeyTable& table);

}  // namespace kadrel
