#pragma once

#include <QObject>
#include <QTextCharFormat>

#include <memory>

class QTextBlock;
class QTextDocument;

namespace qv::data {
class SmartTagTerms;
}

namespace qvdemo {

// Marks the terms of the smart tags in a document with a dotted underline of
// their own colour, as extra formats of each paragraph's layout (the text
// itself is left alone, so saving writes no marks). An edit re-marks the
// paragraphs it touched and nothing else; a paragraph whose marks stay as
// they were is not laid out again, so typing costs no more than the search
// of the paragraph being typed in.
class SmartTagHighlighter : public QObject
{
    Q_OBJECT

public:
    explicit SmartTagHighlighter(QTextDocument *document);

    // Marks the whole document anew with these terms (null: marks nothing).
    void SetTerms(std::shared_ptr<const qv::data::SmartTagTerms> terms);
    const std::shared_ptr<const qv::data::SmartTagTerms> &Terms() const { return m_terms; }
    // Marks one paragraph anew.
    void RehighlightBlock(const QTextBlock &block);
    // The format of a marked term.
    static QTextCharFormat MarkFormat();

private:
    void OnContentsChange(int from, int charsRemoved, int charsAdded);

    QTextDocument *m_document;
    std::shared_ptr<const qv::data::SmartTagTerms> m_terms;
    QTextCharFormat m_mark = MarkFormat();
};

} // namespace qvdemo
