// Smart tags while the author types: re-marking the paragraph being edited
// in the demo editor's 1 MB document, with the terms of 10,000 customer
// names, against the same paragraph re-marked with no terms at all (what
// the editor costs without smart tags).
#include "WidgetsBench.h"

#include "DemoWindow.h"
#include "SmartTagHighlighter.h"

#include "qvuser/data/SmartTagRecognition.h"

#include <QTextBlock>
#include <QTextEdit>

#include <random>

namespace {

constexpr qsizetype kMegabyte = 1 << 20;
constexpr int kTerms = 10000;

// Invented words: the text's from a vocabulary of common ones, the names
// from rarer syllables, some with accents and apostrophes.
class Words
{
public:
    QString Word(bool rare)
    {
        static const char16_t *const syllables[] = {u"ka", u"lo", u"ve", u"ru", u"na", u"sé", u"mi", u"tor",
                                                    u"an", u"dü", u"pe", u"ri", u"ço", u"ba", u"el", u"fu",
                                                    u"zil", u"qua", u"vö", u"xen", u"o'", u"hyr", u"wå", u"gré"};
        const quint32 half = std::size(syllables) / 2;
        QString word;
        for (quint32 i = 0, count = 2 + m_random() % 3; i < count; ++i)
            word += QString::fromUtf16(syllables[(rare && i == 0 ? half : 0) + m_random() % half]);
        return word;
    }
    quint32 Pick(quint32 below) { return m_random() % below; }

private:
    std::mt19937 m_random{17};
};

struct Editor
{
    Editor()
    {
        Words words;
        QStringList names;
        for (int i = 0; i < kTerms; ++i)
            names << words.Word(true) + u' ' + words.Word(true);
        qv::data::SmartTagTerms::Tag tag;
        tag.Name = QStringLiteral("Customers");
        tag.Terms = names;
        terms = std::make_shared<const qv::data::SmartTagTerms>(QList<qv::data::SmartTagTerms::Tag>{tag});

        QString text;
        text.reserve(kMegabyte + 1024);
        while (text.size() < kMegabyte) {
            text += words.Pick(40) == 0 ? names[int(words.Pick(kTerms))] : words.Word(false);
            const quint32 mark = words.Pick(100);
            text += mark == 0 ? QStringLiteral(".\n") : mark < 10 ? QStringLiteral(", ") : QStringLiteral(" ");
        }
        window.Editor()->setPlainText(text);
        window.show();
        highlighter = new qvdemo::SmartTagHighlighter(window.Editor()->document());
        const QTextDocument *document = window.Editor()->document();
        paragraph = document->findBlockByNumber(document->blockCount() / 2);
    }

    qvdemo::DemoWindow window;
    qvdemo::SmartTagHighlighter *highlighter;
    std::shared_ptr<const qv::data::SmartTagTerms> terms;
    QTextBlock paragraph;
};

// Never destroyed: its widgets must not outlive the application object,
// which main destroys before the statics go.
Editor &TheEditor()
{
    static Editor *editor = new Editor;
    return *editor;
}

void Remark(benchmark::State &state, bool withTerms)
{
    Editor &editor = TheEditor();
    editor.highlighter->SetTerms(withTerms ? editor.terms : std::make_shared<const qv::data::SmartTagTerms>());
    for (auto _ : state)
        editor.highlighter->RehighlightBlock(editor.paragraph);
    state.counters["marked"] = double(editor.paragraph.layout()->formats().size());
    state.counters["characters"] = double(editor.paragraph.length());
}

void BM_RemarkEditedParagraph10000Terms(benchmark::State &state) { Remark(state, true); }
BENCHMARK(BM_RemarkEditedParagraph10000Terms)->Unit(benchmark::kMicrosecond);

void BM_RemarkEditedParagraphNoTerms(benchmark::State &state) { Remark(state, false); }
BENCHMARK(BM_RemarkEditedParagraphNoTerms)->Unit(benchmark::kMicrosecond);

// A character typed into the middle of the paragraph and taken back: the
// editor's own work (the paragraph laid out again) with the marking on top.
void Type(benchmark::State &state, bool withTerms)
{
    Editor &editor = TheEditor();
    editor.highlighter->SetTerms(withTerms ? editor.terms : nullptr);
    QTextCursor cursor(editor.paragraph);
    cursor.setPosition(editor.paragraph.position() + editor.paragraph.length() / 2);
    for (auto _ : state) {
        cursor.insertText(QStringLiteral("x"));
        cursor.deletePreviousChar();
    }
}

void BM_TypeInParagraph10000Terms(benchmark::State &state) { Type(state, true); }
BENCHMARK(BM_TypeInParagraph10000Terms)->Unit(benchmark::kMicrosecond);

void BM_TypeInParagraphWithoutSmartTags(benchmark::State &state) { Type(state, false); }
BENCHMARK(BM_TypeInParagraphWithoutSmartTags)->Unit(benchmark::kMicrosecond);

const bool kGoals =
    qv::bench::AddTimeGoal("re-mark the edited paragraph of a 1 MB document with 10,000 smart tag terms",
                           "BM_RemarkEditedParagraph10000Terms", 1000)
    && qv::bench::AddFigure("re-mark the same paragraph without smart tag terms", "BM_RemarkEditedParagraphNoTerms")
    && qv::bench::AddRatioGoal({"type in a paragraph of a 1 MB document with 10,000 smart tag terms vs without smart tags",
                                "BM_TypeInParagraph10000Terms", "BM_TypeInParagraphWithoutSmartTags", 1.5});

} // namespace
