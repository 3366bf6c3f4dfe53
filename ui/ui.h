#pragma once
// The widget model in one include.
#include "ui/control.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "platform/pump.h"
#include "ui/timer.h"
#include "ui/toolkit.h"
#include "ui/tray.h"
#include "ui/types.h"
