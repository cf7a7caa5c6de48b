// Services the windows take from the platform, each behind one small class with a
// static API and a test hook, each in its own header: message boxes and the three
// error-report forms (message_boxes.h), the common file dialog (file_dialog.h), the
// screen's mouse pointer (pointer.h), the event pump and the clock (event_pump.h),
// and pop-up menus (popup_menu.h). With a hook installed nothing real is shown and no
// time passes. This header brings them all.
#pragma once

#include "platform/forms/event_pump.h"
#include "platform/forms/file_dialog.h"
#include "platform/forms/message_boxes.h"
#include "platform/forms/pointer.h"
#include "platform/forms/popup_menu.h"
