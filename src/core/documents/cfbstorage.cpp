#include "documents/cfbstorage.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include "common/logging.h"

#include <mutex>

namespace quillon::word {

namespace {

// libgsf keeps global type registrations; they must be made exactly once,
// even when documents are read from several threads.
void ensureGsf()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // libgsf reports every damaged container on stderr; the reader
        // already turns that into a message, so the details go to our log.
        for (const char* domain : {"libgsf", "libgsf:msole"}) {
            g_log_set_handler(
                domain, GLogLevelFlags(G_LOG_LEVEL_MASK & ~G_LOG_LEVEL_ERROR),
                [](const gchar* logDomain, GLogLevelFlags, const gchar* message, gpointer) {
                    qCDebug(lcDocuments) << logDomain << message;
                },
                nullptr);
        }
    });
}

QString gerrorText(GError* gerror)
{
    QString text = gerror && gerror->message ? QString::fromUtf8(gerror->message) : QString();
    if (gerror)
        g_error_free(gerror);
    return text;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Compound-file names compare without regard to case: some writers store
// "worddocument" or "WORDDOCUMENT". An exact match is preferred.
GsfInput* childByName(GsfInfile* infile, const char* name)
{
    if (!infile)
        return nullptr;
    if (GsfInput* exact = gsf_infile_child_by_name(infile, name))
        return exact;
    const QString wanted = QString::fromLatin1(name);
    const int count = gsf_infile_num_children(infile);
    for (int i = 0; i < count; ++i) {
        const char* candidate = gsf_infile_name_by_index(infile, i);
        if (candidate && QString::fromUtf8(candidate).compare(wanted, Qt::CaseInsensitive) == 0)
            return gsf_infile_child_by_index(infile, i);
    }
    return nullptr;
}

} // namespace

struct CfbReader::Impl {
    QByteArray data; // libgsf reads from this buffer without copying
    GsfInput* input = nullptr;
    GsfInfile* infile = nullptr;

    ~Impl()
    {
        if (infile)
            g_object_unref(infile);
        if (input)
            g_object_unref(input);
    }
};

CfbReader::CfbReader() : m_impl(std::make_unique<Impl>()) {}
CfbReader::~CfbReader() = default;

bool CfbReader::looksLikeCompoundFile(const QByteArray& data)
{
    return data.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"));
}

bool CfbReader::open(const QByteArray& data, QString* error)
{
    ensureGsf();
    if (!looksLikeCompoundFile(data) || data.size() < 512) {
        setError(error, QStringLiteral("The file is not a Word 97-2003 document."));
        return false;
    }
    m_impl->data = data;
    m_impl->input = gsf_input_memory_new(reinterpret_cast<const guint8*>(m_impl->data.constData()),
                                         m_impl->data.size(), FALSE);
    if (!m_impl->input) {
        setError(error, QStringLiteral("The Word document could not be read."));
        return false;
    }
    GError* gerror = nullptr;
    m_impl->infile = gsf_infile_msole_new(m_impl->input, &gerror);
    if (!m_impl->infile) {
        const QString detail = gerrorText(gerror);
        setError(error, QStringLiteral("The Word document is damaged (%1).")
                            .arg(detail.isEmpty() ? QStringLiteral("bad container") : detail));
        return false;
    }
    if (gerror)
        g_error_free(gerror);
    return true;
}

bool CfbReader::hasStream(const char* name) const
{
    GsfInput* child = childByName(m_impl->infile, name);
    if (!child)
        return false;
    g_object_unref(child);
    return true;
}

bool CfbReader::stream(const char* name, QByteArray* out, QString* error) const
{
    out->clear();
    GsfInput* child = childByName(m_impl->infile, name);
    if (!child) {
        setError(error,
                 QStringLiteral("The Word document has no %1 stream.").arg(QLatin1String(name)));
        return false;
    }
    const gsf_off_t size = gsf_input_size(child);
    bool ok = size >= 0 && size <= m_impl->data.size();
    if (ok) {
        out->resize(static_cast<qsizetype>(size));
        ok = size == 0 || gsf_input_read(child, static_cast<size_t>(size),
                                         reinterpret_cast<guint8*>(out->data())) != nullptr;
    }
    g_object_unref(child);
    if (!ok) {
        out->clear();
        setError(error, QStringLiteral("The %1 stream of the Word document is damaged.")
                            .arg(QLatin1String(name)));
    }
    return ok;
}

QByteArray CfbWriter::write(const QList<CfbStream>& streams, const QByteArray& classId,
                            QString* error)
{
    ensureGsf();
    GsfOutput* sink = gsf_output_memory_new();
    GsfOutfile* outfile = gsf_outfile_msole_new(sink);
    bool ok = outfile != nullptr;
    if (ok && classId.size() == 16)
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(outfile),
                                       reinterpret_cast<const guint8*>(classId.constData()));
    for (const CfbStream& stream : streams) {
        if (!ok)
            break;
        GsfOutput* child = gsf_outfile_new_child(outfile, stream.name.constData(), FALSE);
        ok = child != nullptr;
        if (ok && !stream.data.isEmpty())
            ok = gsf_output_write(child, stream.data.size(),
                                  reinterpret_cast<const guint8*>(stream.data.constData()));
        if (child) {
            ok = gsf_output_close(child) && ok;
            g_object_unref(child);
        }
    }
    if (outfile) {
        ok = gsf_output_close(GSF_OUTPUT(outfile)) && ok;
        g_object_unref(outfile);
    }
    QByteArray result;
    if (ok) {
        const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink));
        const gsf_off_t size = gsf_output_size(sink);
        if (bytes && size > 0)
            result = QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    }
    if (!gsf_output_is_closed(sink))
        gsf_output_close(sink);
    g_object_unref(sink);
    if (result.isEmpty())
        setError(error, QStringLiteral("The Word document could not be built."));
    return result;
}

} // namespace quillon::word
