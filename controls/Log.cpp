#include "controls/Log.h"

Q_LOGGING_CATEGORY(lcMorvane, "morvane", QtInfoMsg)
