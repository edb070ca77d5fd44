#pragma once

#include "datawindow.h"

// The patient windows are data windows: each owns its connection and reads when shown.
using PatientWindow = DataWindow;
