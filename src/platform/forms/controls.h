// Every control of the windows kit, for a window's file to include in one line.
#pragma once

#include "platform/forms/animation.h"
#include "platform/forms/buttons.h"
#include "platform/forms/control.h"
#include "platform/forms/datacontrol.h"
#include "platform/forms/flexgrid.h"
#include "platform/forms/form.h"
#include "platform/forms/lists.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/services.h"
#include "platform/forms/tabbeddialog.h"
#include "platform/forms/textbox.h"
