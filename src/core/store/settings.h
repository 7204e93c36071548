#pragma once

#include <memory>
#include <QRectF>
#include <QString>

class QSettings;

namespace quillon {

class ServerAddress;

// A window's place in twips: left, top, width, height.
struct Placement {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const Placement&) const = default;
};

// The per-user settings store: application "Quillon05", section "Settings",
// every value text. Numbers are decimal text (a point only with a fraction),
// flags "1" or "0". Readers fall back to the default for absent or unreadable
// values, so a damaged settings file never stops the program.
class Settings final {
public:
    Settings();                                // the user's store
    explicit Settings(const QString& iniPath); // a file of its own (tests, tools)
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    QString text(const QString& key, const QString& defaultValue = {}) const;
    void setText(const QString& key, const QString& value);
    bool contains(const QString& key) const;
    void remove(const QString& key);

    // Flags compare the stored text with 1.
    bool flag(const QString& key, bool defaultValue) const;
    void setFlag(const QString& key, bool on);

    // Single-precision numbers; text that is no number gives the default.
    float number(const QString& key, float defaultValue) const;
    void setNumber(const QString& key, double value);
    static QString numberText(double value);

    // Four keys prefix+"Left", "Top", "Width", "Height".
    Placement placement(const QString& prefix, const Placement& defaults) const;
    void setPlacement(const QString& prefix, const Placement& placement);

    // The keys the whole program shares.
    QString recentSong() const;
    void setRecentSong(const QString& title);
    bool openRecentSong() const { return flag("OpenRecentSong", false); }
    void setOpenRecentSong(bool on) { setFlag("OpenRecentSong", on); }
    bool showWelcomeScreen() const { return flag("ShowWelcomeScreen", true); }
    void setShowWelcomeScreen(bool on) { setFlag("ShowWelcomeScreen", on); }
    bool showTipScreen() const { return flag("ShowTipScreen", true); }
    void setShowTipScreen(bool on) { setFlag("ShowTipScreen", on); }
    bool showMinimized(bool defaultValue = true) const
    {
        return flag("ShowMinimized", defaultValue);
    }
    void setShowMinimized(bool on) { setFlag("ShowMinimized", on); }
    bool showDeviceBar() const { return flag("ShowDeviceBar", false); }
    void setShowDeviceBar(bool on) { setFlag("ShowDeviceBar", on); }
    // Start-up treats an absent key as set; the settings dialog as unset.
    bool showSidebar(bool defaultValue = true) const { return flag("ShowSidebar", defaultValue); }
    void setShowSidebar(bool on) { setFlag("ShowSidebar", on); }
    // The data folder as the program left it at its last orderly exit, known
    // sound; empty when the last session did not end in order.
    QString dataCheckStamp() const { return text("DataCheckStamp"); }
    void setDataCheckStamp(const QString& stamp) { setText("DataCheckStamp", stamp); }
    // The server the catalogue is kept on (a libpq URI, never with a
    // password), read at start; empty: the data folder's own files.
    QString catalogueServer() const { return text("CatalogueServer"); }
    // Stores the address without its password; an invalid one (none)
    // removes the key, so the data folder is used again.
    void setCatalogueServer(const ServerAddress& server);
    QString lyricsSaveAs() const { return text("LyricsSaveAS", "txt"); }
    QString ginfoSaveAs() const { return text("GInfoSaveAS", "txt"); }

    void sync();
    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_store;
};

} // namespace quillon
