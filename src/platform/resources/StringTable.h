#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

namespace qv {

// A numbered table of texts, the form the string resources and the help
// tables take on disk: UTF-8, one "NUMBER<TAB>TEXT" a line, "#" comment lines
// and blank lines ignored, "\n" "\r" "\t" "\\" escapes in the text. A line
// that is not of that form, or repeats a number, is reported and skipped; the
// rest of the table still loads.
class StringTable
{
public:
    static StringTable Parse(QByteArrayView utf8, QStringList *problems = nullptr);
    // nullptr when the file cannot be read.
    static std::shared_ptr<const StringTable> Load(const QString &path, QStringList *problems = nullptr);

    // The text of the number, "" when the table has none.
    QString Text(quint32 number) const { return m_texts.value(number); }
    bool Contains(quint32 number) const { return m_texts.contains(number); }
    int Count() const { return int(m_texts.size()); }
    QList<quint32> Numbers() const { return m_texts.keys(); }

private:
    QHash<quint32, QString> m_texts;
};

} // namespace qv
