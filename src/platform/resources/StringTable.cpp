#include "StringTable.h"

#include <QFile>

namespace qv {
namespace {

QString Unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[i + 1];
        switch (next.unicode()) {
        case 'n': out += QLatin1Char('\n'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 't': out += QLatin1Char('\t'); break;
        case '\\': out += QLatin1Char('\\'); break;
        default: out += c; out += next; break; // an unknown escape stays as written
        }
        ++i;
    }
    return out;
}

} // namespace

StringTable StringTable::Parse(QByteArrayView utf8, QStringList *problems)
{
    StringTable table;
    const QString all = QString::fromUtf8(utf8);
    const QList<QStringView> lines = QStringView(all).split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringView line = lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        bool ok = tab > 0;
        const quint32 number = ok ? line.left(tab).trimmed().toUInt(&ok) : 0;
        if (!ok) {
            if (problems)
                problems->append(QStringLiteral("line %1: expected a number, a tab and the text").arg(n + 1));
            continue;
        }
        if (table.m_texts.contains(number)) {
            if (problems)
                problems->append(QStringLiteral("line %1: number %2 is given twice").arg(n + 1).arg(number));
            continue;
        }
        table.m_texts.insert(number, Unescape(line.mid(tab + 1)));
    }
    return table;
}

std::shared_ptr<const StringTable> StringTable::Load(const QString &path, QStringList *problems)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return std::make_shared<const StringTable>(Parse(file.readAll(), problems));
}

} // namespace qv
