#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QSizeF>
#include <QString>

namespace quillon {

// Where printed pages go: a printer, a PDF file, or a recording for tests.
// Between beginJob and endJob the painter draws in twips (1/1440 inch) with
// the origin at the top-left corner of the printable area. Fonts keep their
// point sizes: use twipsFont() for a font whose size fits those units.
class PageSink {
public:
    virtual ~PageSink();

    // Starts a job; the first page is open afterwards.
    virtual bool beginJob(const QString& jobName) = 0;
    // Closes the current page and opens the next one.
    virtual bool newPage() = 0;
    virtual bool endJob() = 0;
    // Drops the job (no output where the sink allows it).
    virtual void abortJob() { endJob(); }

    virtual QPainter* painter() = 0;
    // The printable area in twips.
    virtual QSizeF pageSizeTwips() const = 0;
    // The paper of the sheets and its orientation; invalid when unknown.
    virtual QPageLayout pageLayout() const { return {}; }
    // Name of the device ("PDF", the printer's name, ...).
    virtual QString deviceName() const = 0;
    // A short user-facing reason after a failed call.
    QString lastError() const { return m_lastError; }

    // The font with its size expressed in twips, ready for the twips painter.
    static QFont twipsFont(const QFont& font);
    // Convenience: draws text with its baseline start at (x, y) twips.
    void drawText(double x, double y, const QString& text, const QFont& font);

protected:
    // Sets the painter up so one unit is one twip on a device of this resolution.
    static void applyTwipsTransform(QPainter& painter, double deviceDpiX, double deviceDpiY);
    void setLastError(const QString& error) { m_lastError = error; }

private:
    QString m_lastError;
};

} // namespace quillon
