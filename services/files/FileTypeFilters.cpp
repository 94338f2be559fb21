#include "services/files/FileTypeFilters.h"

namespace filetypes {

namespace {

struct Row {
    const char* extension;
    const char* filter;
};

// Lower-cased extension, filter: display name, "|", patterns (trailing ";" kept as the books expect).
const Row kFullTable[] = {
    {".hwp", "한글 문서 파일|*.hwp"},
    {".doc", "마이크로소프트 워드 파일|*.doc;*.docx;"},
    {".docx", "마이크로소프트 워드 파일|*.doc;*.docx;"},
    {".xls", "마이크로소프트 엑셀 파일|*.xls;*.xlsx;"},
    {".xlsx", "마이크로소프트 엑셀 파일|*.xls;*.xlsx;"},
    {".ppt", "마이크로소프트 파워포인트 파일|*.ppt;*.pptx;"},
    {".pptx", "마이크로소프트 파워포인트 파일|*.ppt;*.pptx;"},
    {".jpg", "이미지파일|*.jpg;*.bmp;*.png;"},
    {".bmp", "이미지파일|*.jpg;*.bmp;*.png;"},
    {".png", "이미지파일|*.jpg;*.bmp;*.png;"},
    {".swf", "플래시 파일|*.swf"},
    {".pdf", "PDF 파일|*.pdf"},
    {".wmv", "동영상 파일|*.wmv"},
};

const Row kShortTable[] = {
    {".hwp", "한글 파일|*.hwp"},
    {".doc", "마이크로소프트 워드 파일|*.doc;*.docx"},
    {".docx", "마이크로소프트 워드 파일|*.doc;*.docx"},
    {".xls", "마이크로소프트 엑셀 파일|*.xls;*.xlsx"},
    {".xlsx", "마이크로소프트 엑셀 파일|*.xls;*.xlsx"},
    {".ppt", "마이크로소프트 파워포인트 파일|*.ppt;*.pptx"},
    {".pptx", "마이크로소프트 파워포인트 파일|*.ppt;*.pptx"},
    {".wmv", "동영상 파일|*.wmv"},
};

template <size_t N> std::optional<QString> lookUp(const Row (&table)[N], const QString& path) {
    const QString ext = extension(path).toLower();
    for (const Row& row : table) {
        if (ext == QLatin1String(row.extension)) {
            return QString::fromUtf8(row.filter);
        }
    }
    return std::nullopt;
}

} // namespace

QString fileNamePart(const QString& path) {
    qsizetype at = path.size();
    while (at > 0) {
        const QChar c = path.at(at - 1);
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':')) {
            break;
        }
        --at;
    }
    return path.mid(at);
}

QString extension(const QString& path) {
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString fullFilter(const QString& path) {
    return lookUp(kFullTable, path).value_or(QStringLiteral("모든 파일|*.*"));
}

std::optional<QString> shortFilter(const QString& path) {
    return lookUp(kShortTable, path);
}

} // namespace filetypes
