#include "printing/recordingpagesink.h"

#include <QPaintEngine>

namespace quillon {

namespace {

// A paint device that draws nothing and notes every text item it is given.
class TextCaptureEngine final : public QPaintEngine {
public:
    TextCaptureEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override
    {
        texts << item.text();
        fonts << item.font();
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }
    QStringList texts;
    QList<QFont> fonts;
};

class TextCaptureDevice final : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &m_engine; }
    QStringList texts() const { return m_engine.texts; }
    QList<QFont> fonts() const { return m_engine.fonts; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 100000;
        case PdmWidthMM:
        case PdmHeightMM:
            return 100000 * 254 / 960;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    mutable TextCaptureEngine m_engine;
};

} // namespace

QStringList RecordedJob::texts(int page) const
{
    if (page < 0 || page >= pages.size())
        return {};
    TextCaptureDevice device;
    QPainter p(&device);
    QPicture copy(pages.at(page));
    copy.play(&p);
    p.end();
    return device.texts();
}

QFont RecordedJob::textFont(int page, const QString& text) const
{
    if (page < 0 || page >= pages.size())
        return {};
    TextCaptureDevice device;
    QPainter p(&device);
    QPicture copy(pages.at(page));
    copy.play(&p);
    p.end();
    const int i = int(device.texts().indexOf(text));
    if (i < 0)
        return {};
    // Drawn in twips: a point is twenty pixels of the recorded font.
    QFont f = device.fonts().at(i);
    if (f.pixelSize() > 0)
        f.setPointSizeF(f.pixelSize() / 20.0);
    return f;
}

QString RecordedJob::plainText(int page) const
{
    return texts(page).join('\n');
}

QImage RecordedJob::image(int page, double dpi) const
{
    const QSize size(qCeil(pageSizeTwips.width() * dpi / 1440.0),
                     qCeil(pageSizeTwips.height() * dpi / 1440.0));
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (page < 0 || page >= pages.size())
        return img;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // The recording was made at 96 dpi; scale to the wanted resolution.
    p.scale(dpi / 96.0, dpi / 96.0);
    QPicture copy(pages.at(page));
    copy.play(&p);
    return img;
}

RecordingPageSink::RecordingPageSink(QSizeF pageSizeTwips, QString deviceName)
    : m_pageSize(pageSizeTwips), m_deviceName(std::move(deviceName))
{
}

void RecordingPageSink::setPageLayout(const QPageLayout& layout, bool fitArea)
{
    m_layout = layout;
    if (!layout.isValid() || !fitArea)
        return;
    const QSizeF paper = layout.fullRect(QPageLayout::Millimeter).size() * (1440.0 / 25.4);
    const double border = 6 / 25.4 * 1440.0;
    m_pageSize = QSizeF(paper.width() - 2 * border, paper.height() - 2 * border);
}

RecordingPageSink::~RecordingPageSink()
{
    if (m_painter)
        abortJob();
}

void RecordingPageSink::startPage()
{
    m_picture = std::make_unique<QPicture>();
    m_painter = std::make_unique<QPainter>(m_picture.get());
    applyTwipsTransform(*m_painter, 96, 96);
}

void RecordingPageSink::finishPage()
{
    m_painter->end();
    m_painter.reset();
    m_current.pages << *m_picture;
    m_picture.reset();
}

bool RecordingPageSink::beginJob(const QString& jobName)
{
    if (m_painter)
        return false;
    m_current = RecordedJob{jobName, {}, m_pageSize, m_layout};
    startPage();
    return true;
}

bool RecordingPageSink::newPage()
{
    if (!m_painter)
        return false;
    finishPage();
    startPage();
    return true;
}

bool RecordingPageSink::endJob()
{
    if (!m_painter)
        return false;
    finishPage();
    m_jobs << m_current;
    m_current = {};
    return true;
}

void RecordingPageSink::abortJob()
{
    if (!m_painter)
        return;
    m_painter->end();
    m_painter.reset();
    m_picture.reset();
    m_current = {};
}

QPainter* RecordingPageSink::painter()
{
    return m_painter.get();
}

} // namespace quillon
