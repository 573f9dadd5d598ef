#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace qv::config {
class ConfigStore;
}

namespace qv::manager {

// One stretch of the details pane: its text (with its own CRLF line ends),
// bold or not, and its two indents in twips (the first the left indent, the
// second the right one).
struct DetailsParagraph
{
    QString sText;
    bool bBold = false;
    int lIndent = 0;
    int lSecondIndent = 0;
};

// What the details pane shows for the current node and selection: its
// picture and its paragraphs in order.
struct DetailsText
{
    QString sImageKey;
    std::vector<DetailsParagraph> colParagraphs;

    // Appends a paragraph; an empty text writes nothing.
    void Append(const QString &sText, bool bBold, int lIndent, int lSecondIndent);
    // Every paragraph's text, in order (what a reader of the pane sees).
    QString PlainText() const;
};

// The details of the node: a data view, a smart tag or a configuration, or
// what the selection holds. `oStore` is the store of the list shown,
// `lParentType` the current node's parent type (the root for a folder),
// `sId` the identifier of the last selected item ("" for none) and
// `lSelected` how many items are selected. Raises 0x80040205 for a node
// type without details.
DetailsText WriteDetails(qint32 lNodeType, qint32 lParentType, const std::shared_ptr<config::ConfigStore> &oStore,
                         const QString &sId, int lSelected);

// Where a data source's data lives, from its connection text and kind
// code; the whole connection text when nothing else is found.
QString GetSourceLocation(const QString &sConnection, qint32 lKind);
// The text between the markers, without regard to case; "" when the start
// marker is empty or absent, the rest of the text when the end is absent.
QString ExtractBetween(const QString &sText, const QString &sStart, const QString &sEnd);
// The text before the marker's first occurrence (any case), or all of it.
QString TextBefore(const QString &sText, const QString &sMarker);
// A smart tag's warnings on one line: line ends after a period become one
// blank, other line ends a blank, doubled periods one.
QString CleanWarnings(const QString &sWarnings);
// At most three entries a line, the third followed by "  ...", then an empty line.
QString ShortList(const QStringList &colEntries);

} // namespace qv::manager
