#include "SmartTagHighlighter.h"

#include "qvuser/data/SmartTagRecognition.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace qvdemo {

SmartTagHighlighter::SmartTagHighlighter(QTextDocument *document) : QObject(document), m_document(document)
{
    // A document tells of its changes only once it has a layout.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &SmartTagHighlighter::OnContentsChange);
}

void SmartTagHighlighter::SetTerms(std::shared_ptr<const qv::data::SmartTagTerms> terms)
{
    m_terms = std::move(terms);
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
        RehighlightBlock(block);
}

QTextCharFormat SmartTagHighlighter::MarkFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::DotLine);
    format.setUnderlineColor(QColor(0x8E, 0x24, 0xAA));
    return format;
}

void SmartTagHighlighter::OnContentsChange(int from, int, int charsAdded)
{
    const int end = from + charsAdded;
    for (QTextBlock block = m_document->findBlock(from); block.isValid() && block.position() <= end;
         block = block.next())
        RehighlightBlock(block);
}

void SmartTagHighlighter::RehighlightBlock(const QTextBlock &block)
{
    QTextLayout *layout = block.layout();
    if (!layout)
        return;
    QList<QTextLayout::FormatRange> marks;
    if (m_terms) {
        for (const qv::data::SmartTagTerms::Match &match : m_terms->Recognize(block.text()))
            marks.append({int(match.Start), int(match.Length), m_mark});
    }
    if (marks == layout->formats())
        return;
    layout->setFormats(marks);
    m_document->markContentsDirty(block.position(), block.length());
}

} // namespace qvdemo
