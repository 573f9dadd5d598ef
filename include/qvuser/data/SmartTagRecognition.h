#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

namespace qv::biz {
class TermRecognizer;
}
namespace qv::config {
class ConfigStore;
}

namespace qv::data {

class DataJob;
class DataViewDataServices;

// The terms of some smart tags, ready to be found in a text: whole words,
// without regard to case, blanks and apostrophes alike, a tag's excluded
// terms never recognized. Built once, then only read: Recognize may run on
// several threads at once.
class SmartTagTerms
{
public:
    // One smart tag as it stood when the terms were built.
    struct Tag
    {
        std::shared_ptr<config::ConfigStore> Store; // the configuration it belongs to
        qint32 SmartTagId = 0;
        QString Name;
        QString FieldName;    // the field its terms come from; "" for its own terms alone
        QStringList Terms;    // its own terms and the field's values
        QStringList Excluded; // spans it must not recognize

        bool operator==(const Tag &) const = default;
    };
    // A recognized span of a text and the tags (positions in Tags()) whose term it is.
    struct Match
    {
        qsizetype Start = 0;
        qsizetype Length = 0;
        QList<qint32> Tags;
    };

    explicit SmartTagTerms(QList<Tag> tags = {});
    ~SmartTagTerms();
    SmartTagTerms(const SmartTagTerms &) = delete;
    SmartTagTerms &operator=(const SmartTagTerms &) = delete;

    // Every recognized span of the text, in order, none overlapping.
    QList<Match> Recognize(QStringView text) const;
    // The recognized span that holds the position or ends there (a cursor
    // just after a term is on it); Length 0 when none does.
    Match MatchAt(QStringView text, qsizetype position) const;
    const QList<Tag> &Tags() const { return m_tags; }
    // The distinct terms, excluded ones included.
    qsizetype TermCount() const;
    // The tag's own spelling of a text it recognizes ("O'Neill" for
    // "o’neill"), as its source holds it; "" when it is none of its terms.
    QString TermOf(qint32 tag, QStringView text) const;

private:
    QList<Tag> m_tags;
    std::unique_ptr<biz::TermRecognizer> m_recognizer;
};

// Keeps the terms of the enabled smart tags of a host's configurations.
// A smart tag recognizes its own terms and, when its recognizer names a data
// view and a field, the distinct values of that field under the data view's
// conditions (at most ValueLimit of them). The values are fetched through the
// data services off this thread and kept: they are fetched again only when
// the data view's definition (source, data item, field, conditions) changes
// or the file its source reads changes (its modification time or size).
// Sources that read no file (data source names, servers, folders) are
// fetched again after ClearCache.
class SmartTagRecognition : public QObject
{
    Q_OBJECT

public:
    static constexpr qint32 ValueLimit = 10000;

    explicit SmartTagRecognition(QObject *parent = nullptr);
    ~SmartTagRecognition() override;

    // Builds the terms of the enabled smart tags of the stores (null ones are
    // skipped) off this thread; Ready follows once Terms() answers them. A
    // call while a build runs takes its place. When no tag, term or value
    // changed, Terms() stays the same object.
    void Rebuild(const QList<std::shared_ptr<config::ConfigStore>> &stores);
    // The terms built last; never null (before the first build it recognizes nothing).
    std::shared_ptr<const SmartTagTerms> Terms() const { return m_terms; }
    // True from Rebuild until its terms are in Terms().
    bool Building() const { return m_building; }
    // How many field value lists were fetched from their sources so far.
    qint32 FetchCount() const { return m_fetchCount; }
    // Forgets every kept value list, so that the next Rebuild fetches them again.
    void ClearCache() { m_cache.clear(); }

signals:
    void Ready();
    // The values of a smart tag's field could not be fetched: said once for a
    // data view until it or its source changes; the tag keeps its own terms.
    void Failed(const QString &message);
    // A smart tag's field holds more than ValueLimit values, and only the
    // first of them are recognized: said once for a data view until it or
    // its source changes.
    void Limited(const QString &message);

private:
    struct Plan;
    struct Values
    {
        QString Stamp;
        QStringList Terms;
        bool Failed = false;
    };
    struct Fetch
    {
        QString Stamp;
        std::shared_ptr<DataJob> Job;
    };
    struct Fetched
    {
        QStringList Terms;
        bool Cut = false; // there were more than ValueLimit
    };

    static QList<Plan> PlanTags(const QList<std::shared_ptr<config::ConfigStore>> &stores);
    void StartFetch(const Plan &plan);
    void OnFetched(const QString &key, const QString &tagName, DataJob &job, const Fetched &values);
    void BuildWhenFetched();
    // Keeps a finished job alive until the event loop is back: a job must not
    // go while it is still telling of its end.
    void Retire(std::shared_ptr<DataJob> job);

    std::unique_ptr<DataViewDataServices> m_services;
    std::shared_ptr<const SmartTagTerms> m_terms;
    std::shared_ptr<QList<Plan>> m_plans; // of the Rebuild waiting for its values
    QHash<QString, Values> m_cache;       // by data view definition
    QHash<QString, Fetch> m_fetches;
    std::shared_ptr<DataJob> m_build;
    bool m_building = false;
    qint32 m_fetchCount = 0;
};

} // namespace qv::data
