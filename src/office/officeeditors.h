#pragma once

#include "tableeditorwindow.h"

// The office's four table editors, each the one editor pattern with its own table, fields,
// grid and sort.
namespace OfficeEditors {

EditorLayout notebook();
EditorLayout reminders();
EditorLayout phoneNumbers();
EditorLayout doctors();

} // namespace OfficeEditors
