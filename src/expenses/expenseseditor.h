#pragma once

#include "tableeditorwindow.h"

// "Λειτουργικά έξοδα - Επεξεργασία": the table editor over EKSODA, newest expense first.
namespace ExpensesEditor {
EditorLayout layout();
} // namespace ExpensesEditor
