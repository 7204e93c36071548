#include "documents/docxpackage.h"

#include "documents/documentlimits.h"

#include <QXmlStreamReader>

#include <zip.h>

#include <cstdio>

namespace quillon::word {

namespace {

constexpr zip_uint64_t kMaxPartSize = zip_uint64_t(limits::kMaxFileBytes);

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Why an XML part must not be read, or an empty string. Word never
// declares a document type; one that does can define entities that expand
// a few hundred bytes into gigabytes of text, each use below the XML
// reader's own limit per entity. And the XML reader keeps every open
// element: a few kilobytes packed can open millions.
QString xmlHazard(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            return QStringLiteral("declares a document type, which Word documents never do");
        case QXmlStreamReader::StartElement:
            if (++depth > limits::kMaxNesting)
                return QStringLiteral("nests elements more than %1 deep").arg(limits::kMaxNesting);
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Invalid:
            return {}; // the part's reader reports the damage
        default:
            break;
        }
    }
    return {};
}

} // namespace

DocxPackageReader::~DocxPackageReader()
{
    if (m_zip)
        zip_discard(m_zip);
}

bool DocxPackageReader::looksLikeZip(const QByteArray& data)
{
    return data.startsWith("PK\x03\x04");
}

bool DocxPackageReader::open(const QByteArray& data, QString* error)
{
    m_data = data;
    zip_error_t zerror;
    zip_error_init(&zerror);
    zip_source_t* source = zip_source_buffer_create(m_data.constData(), m_data.size(), 0, &zerror);
    if (source)
        m_zip = zip_open_from_source(source, ZIP_RDONLY, &zerror);
    if (!m_zip) {
        if (source)
            zip_source_free(source);
        setError(error, QStringLiteral("The Word document is not a readable ZIP package (%1).")
                            .arg(QString::fromUtf8(zip_error_strerror(&zerror))));
        zip_error_fini(&zerror);
        return false;
    }
    zip_error_fini(&zerror);
    return true;
}

bool DocxPackageReader::contains(const QString& name) const
{
    return m_zip && zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0;
}

bool DocxPackageReader::part(const QString& name, QByteArray* out, QString* error) const
{
    out->clear();
    const zip_int64_t index = m_zip ? zip_name_locate(m_zip, name.toUtf8().constData(), 0) : -1;
    if (index < 0) {
        setError(error, QStringLiteral("The Word document has no part %1.").arg(name));
        return false;
    }
    zip_file_t* file = zip_fopen_index(m_zip, index, 0);
    if (!file) {
        setError(error,
                 QStringLiteral("The part %1 of the Word document cannot be unpacked.").arg(name));
        return false;
    }
    // Read in chunks rather than trusting the size in the directory.
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (zip_uint64_t(out->size()) + zip_uint64_t(n) > kMaxPartSize) {
            ok = false;
            break;
        }
        out->append(buffer, static_cast<qsizetype>(n));
    }
    zip_fclose(file);
    if (!ok) {
        out->clear();
        setError(error, QStringLiteral("The part %1 of the Word document is damaged.").arg(name));
    } else if (const QString hazard = xmlHazard(*out); !hazard.isEmpty()) {
        out->clear();
        setError(error, QStringLiteral("The part %1 of the Word document %2.").arg(name, hazard));
        ok = false;
    }
    return ok;
}

QByteArray DocxPackageWriter::write(const QList<DocxPart>& parts, QString* error)
{
    zip_error_t zerror;
    zip_error_init(&zerror);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &zerror);
    zip_t* archive = nullptr;
    if (target) {
        zip_source_keep(target);
        archive = zip_open_from_source(target, ZIP_TRUNCATE, &zerror);
        if (!archive)
            zip_source_free(target); // the reference the archive would have held
    }
    bool ok = archive != nullptr;
    for (const DocxPart& part : parts) {
        if (!ok)
            break;
        // libzip reads the part's bytes when the archive is closed; the list
        // outlives that, so the buffers need not be copied.
        zip_source_t* source =
            zip_source_buffer(archive, part.data.constData(), part.data.size(), 0);
        const zip_int64_t index = source ? zip_file_add(archive, part.name.toUtf8().constData(),
                                                        source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
                                         : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            ok = false;
            break;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0);
    }
    if (archive) {
        if (!ok || zip_close(archive) != 0) {
            zip_discard(archive);
            ok = false;
        }
    }
    QByteArray result;
    if (ok && zip_source_open(target) == 0) {
        if (zip_source_seek(target, 0, SEEK_END) == 0) {
            const zip_int64_t size = zip_source_tell(target);
            if (size > 0 && zip_source_seek(target, 0, SEEK_SET) == 0) {
                result.resize(static_cast<qsizetype>(size));
                if (zip_source_read(target, result.data(), zip_uint64_t(size)) != size)
                    result.clear();
            }
        }
        zip_source_close(target);
    }
    if (target)
        zip_source_free(target);
    zip_error_fini(&zerror);
    if (result.isEmpty())
        setError(error, QStringLiteral("The Word document could not be packed."));
    return result;
}

} // namespace quillon::word
