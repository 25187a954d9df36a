#pragma once
// Whole files for tests: the bytes of a file as they are on disk, a file
// written from bytes, the text of a printed PDF, and a disk that fills up
// under a write.
#include <QByteArray>
#include <QString>

#include <sys/resource.h>

namespace Files {
// The whole content of the file; empty when it cannot be opened.
QByteArray bytesOf(const QString& path);
// Creates the file, or empties it, and writes the bytes; false unless it
// could be opened and every byte was written.
[[nodiscard]] bool writeBytes(const QString& path, const QByteArray& bytes);
// The text of a PDF file as pdftotext reads it, its columns laid out as on
// the page (Layout) or in reading order (Raw); empty when pdftotext is absent.
enum class PdfText { Layout, Raw };
QString pdfText(const QString& pdf, PdfText how = PdfText::Layout);
}   // namespace Files

// Makes writes past the given file size fail (EFBIG instead of SIGXFSZ) for
// the lifetime of the object, as a disk that fills up does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
};
