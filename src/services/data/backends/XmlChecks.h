#pragma once

#include "DataTable.h"

#include <QXmlStreamReader>

namespace qv::data {

// Reads the next token of a file's XML. A document type declaration is
// refused: no spreadsheet part needs one, and refusing it means no entity of
// the file is ever expanded and nothing outside it is fetched. A reader error
// raises kErrorSourceUnreadable naming the part and the line.
inline QXmlStreamReader::TokenType NextXmlToken(QXmlStreamReader &xml, const QString &sourcePath,
                                                const QString &part)
{
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::DTD)
        RaiseUnreadable(sourcePath, QStringLiteral("%1 declares a document type, which a spreadsheet never does; "
                                                   "it is not read, so that no entity in it is expanded")
                                        .arg(part));
    if (token == QXmlStreamReader::Invalid)
        RaiseUnreadable(sourcePath, QStringLiteral("%1 is not well-formed XML (line %2: %3); the file is damaged")
                                        .arg(part)
                                        .arg(xml.lineNumber())
                                        .arg(xml.errorString()), Remedy::Resave);
    return token;
}

// Reads the children of the current element up to its end, calling
// onChild() at each child's start; onChild must read that child to its end
// (ElementText() does, for a child whose content is not wanted).
template<typename OnChild>
void ReadChildren(QXmlStreamReader &xml, const QString &sourcePath, const QString &part, OnChild onChild)
{
    for (;;) {
        const auto token = NextXmlToken(xml, sourcePath, part);
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::EndDocument)
            return;
        if (token == QXmlStreamReader::StartElement)
            onChild();
    }
}

// The text inside the current element, every nested element's text included,
// read through NextXmlToken.
inline QString ElementText(QXmlStreamReader &xml, const QString &sourcePath, const QString &part)
{
    QString text;
    int depth = 1;
    while (depth > 0) {
        switch (NextXmlToken(xml, sourcePath, part)) {
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            // Most elements hold one run of text: taken whole, not grown into.
            if (text.isEmpty())
                text = xml.text().toString();
            else
                text += xml.text();
            break;
        case QXmlStreamReader::EndDocument:
            return text;
        default:
            break;
        }
    }
    return text;
}

// What WalkElement does with an element that starts inside the one walked.
enum class Walk {
    Into, // walks its content too
    Read, // the caller has read it to its end
    Stop, // ends the walk here
};

// Reads the current element to its end, calling onStart() at each element
// that starts inside it. Levels are counted, not recursed into, so that no
// depth of nesting in a file can exhaust the stack.
template<typename OnStart>
void WalkElement(QXmlStreamReader &xml, const QString &sourcePath, const QString &part, OnStart onStart)
{
    for (qsizetype depth = 1; depth > 0;) {
        const auto token = NextXmlToken(xml, sourcePath, part);
        if (token == QXmlStreamReader::EndDocument)
            return;
        if (token == QXmlStreamReader::EndElement)
            --depth;
        if (token != QXmlStreamReader::StartElement)
            continue;
        switch (onStart()) {
        case Walk::Into:
            ++depth;
            break;
        case Walk::Read:
            break;
        case Walk::Stop:
            return;
        }
    }
}

} // namespace qv::data
