#include "platform/Logging.h"

// Debug output stays off unless asked for; information, warnings and errors show.
Q_LOGGING_CATEGORY(lcDesktop, "pipfield.desktop", QtInfoMsg)
Q_LOGGING_CATEGORY(lcNotify, "pipfield.notify", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLook, "pipfield.look", QtInfoMsg)
