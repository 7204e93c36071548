#pragma once

#include "store/database.h"

#include <QObject>
#include <QString>

class QTimer;

namespace quillon {

// Changes other rooms make to a catalogue on a server, as they commit.
// Every repository write on a server announces itself in its own
// transaction (PostgreSQL NOTIFY, so nothing is announced that did not
// commit); a program listens on a connection of its own and hears the
// others' changes, not its own. On a data folder there is nobody else to
// hear, and both sides do nothing.
class CatalogueEvents final : public QObject {
    Q_OBJECT

public:
    static inline const QString kSongs = QStringLiteral("songs"); // created, renamed, deleted
    static inline const QString kSong = QStringLiteral("song");   // fields or tracks of one song
    static inline const QString kMedia = QStringLiteral("media");
    static inline const QString kDevices = QStringLiteral("devices");
    static inline const QString kNotebook = QStringLiteral("notebook");
    static inline const QString kStyles = QStringLiteral("styles");

    explicit CatalogueEvents(QObject* parent = nullptr);
    ~CatalogueEvents() override;

    // Starts listening; false (and nothing heard) when the server cannot be
    // reached now. A lost connection is opened again in the background.
    bool listen(const ServerAddress& server);
    bool isListening() const;

    // Announces a change inside db's open transaction; a no-op on a file.
    static bool announce(Database& db, const QString& kind, const QString& subject = {});
    // This program's mark in what it announces, so it does not hear itself.
    static QString clientId();
    // Test hook: announce as another client from now on (a listener keeps
    // the mark it started with).
    static void setClientId(const QString& id);

Q_SIGNALS:
    // kind is one of the constants above; subject names the song, medium
    // or device when there is one.
    void changed(const QString& kind, const QString& subject);

private:
    bool subscribe();
    void heard(const QString& name, const QVariant& payload);
    void checkConnection();

    ServerAddress m_server;
    QString m_ownId;
    Database m_db;
    QTimer* m_watch = nullptr;
};

} // namespace quillon
