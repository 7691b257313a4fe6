#pragma once

#include <QLoggingCategory>

// Morvane's diagnostic lines. Per-tick lines are at debug level, off unless
// QT_LOGGING_RULES="morvane.debug=true" is set, so the journal stays quiet.
Q_DECLARE_LOGGING_CATEGORY(lcMorvane)
