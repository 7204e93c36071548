#pragma once

#include <QLoggingCategory>

// One category per subsystem; enable with QT_LOGGING_RULES="quillon.store.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcSongs)
Q_DECLARE_LOGGING_CATEGORY(lcMedia)
Q_DECLARE_LOGGING_CATEGORY(lcDevices)
Q_DECLARE_LOGGING_CATEGORY(lcDocuments)
Q_DECLARE_LOGGING_CATEGORY(lcPrinting)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcOptions)
