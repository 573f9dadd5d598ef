#include "qvuser/data/SmartTagRecognition.h"

#include "biz/TermRecognizer.h"

namespace qv::data {

SmartTagTerms::SmartTagTerms(QList<Tag> tags) : m_tags(std::move(tags)), m_recognizer(std::make_unique<biz::TermRecognizer>())
{
    qsizetype count = 0;
    for (const Tag &tag : std::as_const(m_tags))
        count += tag.Terms.size() + tag.Excluded.size();
    m_recognizer->Reserve(count);
    for (qint32 i = 0; i < qint32(m_tags.size()); ++i) {
        for (const QString &term : std::as_const(m_tags[i].Terms))
            m_recognizer->Add(term, i);
        for (const QString &term : std::as_const(m_tags[i].Excluded))
            m_recognizer->Add(term, i, true);
    }
}

SmartTagTerms::~SmartTagTerms() = default;

QList<SmartTagTerms::Match> SmartTagTerms::Recognize(QStringView text) const
{
    QList<Match> matches;
    for (const biz::TermRecognizer::Match &found : m_recognizer->Recognize(text))
        matches.append(Match{found.Start, found.Length, found.Tags});
    return matches;
}

SmartTagTerms::Match SmartTagTerms::MatchAt(QStringView text, qsizetype position) const
{
    for (const Match &match : Recognize(text)) {
        if (match.Start > position)
            break;
        if (position <= match.Start + match.Length)
            return match;
    }
    return {};
}

qsizetype SmartTagTerms::TermCount() const
{
    return m_recognizer->TermCount();
}

QString SmartTagTerms::TermOf(qint32 tag, QStringView text) const
{
    if (tag < 0 || tag >= m_tags.size())
        return {};
    // Asked once for a menu command, so a recognizer of the one tag's terms,
    // each under its position, is made for the question rather than kept.
    const QStringList &terms = m_tags[tag].Terms;
    biz::TermRecognizer own;
    own.Reserve(terms.size());
    for (qint32 i = 0; i < qint32(terms.size()); ++i)
        own.Add(terms[i], i);
    const QString whole = text.trimmed().toString();
    const QList<biz::TermRecognizer::Match> found = own.Recognize(whole);
    if (found.size() != 1 || found[0].Start != 0 || found[0].Length != whole.size())
        return {};
    return terms[found[0].Tags.first()];
}

} // namespace qv::data
