#include "common/logging.h"

Q_LOGGING_CATEGORY(lcStore, "quillon.store")
Q_LOGGING_CATEGORY(lcSongs, "quillon.songs")
Q_LOGGING_CATEGORY(lcMedia, "quillon.media")
Q_LOGGING_CATEGORY(lcDevices, "quillon.devices")
Q_LOGGING_CATEGORY(lcDocuments, "quillon.documents")
Q_LOGGING_CATEGORY(lcPrinting, "quillon.printing")
Q_LOGGING_CATEGORY(lcApp, "quillon.app")
Q_LOGGING_CATEGORY(lcOptions, "quillon.options")
