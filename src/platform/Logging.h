#pragma once

#include <QLoggingCategory>

// One category per area, so that a maintainer can switch on the debug output of one of them with
// QT_LOGGING_RULES (for example "pipfield.desktop.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
Q_DECLARE_LOGGING_CATEGORY(lcNotify)
Q_DECLARE_LOGGING_CATEGORY(lcLook)
