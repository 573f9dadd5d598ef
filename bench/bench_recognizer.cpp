// The smart tags' term recognizer against the naive way: one
// QRegularExpression alternation of the terms between word boundaries,
// without regard to case. The texts and terms are made of invented words,
// with accents, and about one term in fifty words of the text.
#include "BenchMain.h"

#include "biz/TermRecognizer.h"

#include <QRegularExpression>
#include <QStringList>

#include <random>

namespace {

constexpr qsizetype kMegabyte = 1 << 20;

// Invented words of two to four syllables, some with accents. The text's
// words are common ones of a small vocabulary; the terms are names, of rarer
// syllables, now and then beginning with a common word ("Kalo Vérunaç").
class Words
{
public:
    explicit Words(unsigned seed) : m_random(seed) {}

    QString Common()
    {
        static const QStringList vocabulary = [this] {
            QStringList words;
            for (int i = 0; i < 5000; ++i)
                words << Invented(0, 16);
            return words;
        }();
        return vocabulary[Pick(quint32(vocabulary.size()))];
    }

    QString Rare() { return Invented(16, kSyllables); }
    QString Name() { return Pick(3) == 0 ? Common() : Rare(); }

    quint32 Pick(quint32 below) { return m_random() % below; }

private:
    static constexpr quint32 kSyllables = 32;

    // The first syllable from [first, end), the others from any.
    QString Invented(quint32 first, quint32 end)
    {
        static const char16_t *const syllables[kSyllables] = {
            u"ka", u"lo", u"ve", u"ru", u"na", u"sé", u"mi", u"tor", u"an", u"dü", u"pe", u"ri", u"ço", u"ba", u"el", u"fu",
            u"zil", u"qua", u"vö", u"xen", u"jo", u"hyr", u"wå", u"gré", u"oth", u"ix", u"umb", u"yé", u"cz", u"ñu", u"sk", u"tła"};
        QString word;
        const quint32 count = 2 + Pick(3);
        for (quint32 i = 0; i < count; ++i)
            word += QString::fromUtf16(syllables[i == 0 ? first + Pick(end - first) : Pick(end)]);
        if (Pick(4) == 0)
            word[0] = word[0].toUpper();
        return word;
    }

    std::mt19937 m_random;
};

// Terms of one to three words.
const QStringList &Terms()
{
    static const QStringList terms = [] {
        Words words(7);
        QStringList list;
        for (int i = 0; i < 100000; ++i) {
            // A common word alone would be found everywhere: names of one word are rare words.
            const quint32 more = words.Pick(3);
            QString term = more == 0 ? words.Rare() : words.Name();
            for (quint32 left = more; left > 0; --left)
                term += u' ' + words.Rare();
            list << term;
        }
        return list;
    }();
    return terms;
}

// A text of `size` characters: invented words, commas and full stops, and
// now and then one of the first `termsShown` terms.
QString MakeText(qsizetype size, qsizetype termsShown)
{
    Words words(11);
    QString text;
    text.reserve(size + 64);
    while (text.size() < size) {
        text += words.Pick(50) == 0 ? Terms()[words.Pick(quint32(termsShown))] : words.Common();
        const quint32 mark = words.Pick(200);
        text += mark == 0 ? QStringLiteral(".\n") : mark < 20 ? QStringLiteral(", ") : QStringLiteral(" ");
    }
    return text;
}

const QString &Text(qsizetype size)
{
    static const QString one = MakeText(kMegabyte, 1000);
    static const QString ten = MakeText(10 * kMegabyte, 1000);
    return size == kMegabyte ? one : ten;
}

qv::biz::TermRecognizer Build(qsizetype count)
{
    qv::biz::TermRecognizer recognizer;
    recognizer.Reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        recognizer.Add(Terms()[i], qint32(i % 50));
    return recognizer;
}

const qv::biz::TermRecognizer &AllTerms()
{
    static const qv::biz::TermRecognizer recognizer = Build(Terms().size());
    return recognizer;
}

void BM_Alternation1000Terms(benchmark::State &state)
{
    QStringList escaped;
    for (qsizetype i = 0; i < 1000; ++i)
        escaped << QRegularExpression::escape(Terms()[i]);
    const QRegularExpression pattern(QStringLiteral("\\b(?:") + escaped.join(u'|') + QStringLiteral(")\\b"),
                                     QRegularExpression::CaseInsensitiveOption
                                         | QRegularExpression::UseUnicodePropertiesOption);
    pattern.optimize();
    for (auto _ : state) {
        qsizetype found = 0;
        for (auto it = pattern.globalMatch(Text(kMegabyte)); it.hasNext(); it.next())
            ++found;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_Alternation1000Terms)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void Recognize(benchmark::State &state, qsizetype size)
{
    const qv::biz::TermRecognizer &recognizer = AllTerms();
    const QString &text = Text(size);
    qsizetype found = 0;
    for (auto _ : state) {
        found = recognizer.Recognize(text).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}

void BM_Recognize1MB(benchmark::State &state) { Recognize(state, kMegabyte); }
BENCHMARK(BM_Recognize1MB)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_Recognize10MB(benchmark::State &state) { Recognize(state, 10 * kMegabyte); }
BENCHMARK(BM_Recognize10MB)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_Build100000Terms(benchmark::State &state)
{
    Terms();
    for (auto _ : state)
        benchmark::DoNotOptimize(Build(Terms().size()).TermCount());
}
BENCHMARK(BM_Build100000Terms)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// One paragraph of the 1 MB text, as after an edit in it.
void BM_RecognizeEditedParagraph(benchmark::State &state)
{
    const qv::biz::TermRecognizer &recognizer = AllTerms();
    const QString &text = Text(kMegabyte);
    const qsizetype middle = text.indexOf(u'\n', text.size() / 2) + 1;
    const QStringView paragraph = QStringView(text).mid(middle, text.indexOf(u'\n', middle) - middle);
    for (auto _ : state)
        benchmark::DoNotOptimize(recognizer.Recognize(paragraph).size());
    state.counters["characters"] = double(paragraph.size());
}
BENCHMARK(BM_RecognizeEditedParagraph)->Unit(benchmark::kMicrosecond);

const bool kGoals =
    qv::bench::AddRatioGoal({"recognize 100,000 terms in 1 MB vs a 1,000-term QRegularExpression alternation",
                             "BM_Recognize1MB", "BM_Alternation1000Terms", 0.1})
    && qv::bench::AddRatioGoal({"recognize in 10 MB vs in 1 MB (linear: about 10)", "BM_Recognize10MB",
                                "BM_Recognize1MB", 11})
    && qv::bench::AddTimeGoal("build the recognizer of 100,000 terms", "BM_Build100000Terms", 100000)
    && qv::bench::AddTimeGoal("re-recognize one edited paragraph of a 1 MB text", "BM_RecognizeEditedParagraph", 1000);

} // namespace
