#include "qvuser/data/SmartTagRecognition.h"

#include "DataJob.h"
#include "SourceLocation.h"

#include "automation/ComError.h"
#include "config/ConfigStore.h"
#include "qvuser/data/DataViewDataServices.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace qv::data {

// A smart tag to build and where its field's values come from.
struct SmartTagRecognition::Plan
{
    SmartTagTerms::Tag Tag;
    QString Key; // the data view's definition as text; "" for the tag's own terms alone
    QString Stamp;
    std::shared_ptr<config::DataView> View;
};

namespace {

// Everything the field's values depend on, as one text: equal texts give
// equal values as long as the source is unchanged.
QString DefinitionKey(const config::DataView &view, const QString &field)
{
    QStringList parts{QString::number(view.Source.Kind), view.Source.ConnectionText, view.DataItemName,
                      QString::number(view.DataItemKind), field};
    for (const auto &f : view.Fields) {
        for (const config::Condition &c : f->Conditions)
            parts << f->Name << c.Conjunction << c.Operator << c.Value;
    }
    return parts.join(QChar(0x1F));
}

// The modification time and size of the file the source reads; "" for a
// source that reads no file.
QString SourceStamp(const config::DataView &view)
{
    const QString path = SourceFilePath(view.Source.Kind, view.Source.ConnectionText);
    if (path.isEmpty())
        return {};
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("missing");
    return QStringLiteral("%1:%2").arg(file.lastModified().toMSecsSinceEpoch()).arg(file.size());
}

QString FailureText(const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const ComError &error) {
        return error.Description();
    } catch (const std::exception &error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QStringLiteral("an unknown error");
    }
}

} // namespace

QList<SmartTagRecognition::Plan> SmartTagRecognition::PlanTags(const QList<std::shared_ptr<config::ConfigStore>> &stores)
{
    QList<Plan> plans;
    for (const auto &store : stores) {
        if (!store)
            continue;
        for (const auto &set : store->SmartTagSets()) {
            for (const auto &tag : *set) {
                if (!tag->Enabled)
                    continue;
                Plan plan;
                plan.Tag = {store, tag->Id(), tag->Name, {}, tag->Recognizer.Included.Terms(),
                            tag->Recognizer.Excluded.Terms()};
                const auto view = tag->Recognizer.DataView();
                const auto field = view ? tag->Recognizer.Field() : nullptr;
                const QString fieldName = field ? field->Name : tag->Recognizer.FieldName;
                if (view && !fieldName.isEmpty()) {
                    plan.Tag.FieldName = fieldName;
                    plan.Key = DefinitionKey(*view, fieldName);
                    plan.Stamp = SourceStamp(*view);
                    plan.View = view;
                }
                plans << plan;
            }
        }
    }
    return plans;
}

SmartTagRecognition::SmartTagRecognition(QObject *parent)
    : QObject(parent), m_services(std::make_unique<DataViewDataServices>()),
      m_terms(std::make_shared<const SmartTagTerms>())
{
    m_services->SetValueListLimit(ValueLimit);
}

SmartTagRecognition::~SmartTagRecognition() = default;

void SmartTagRecognition::Rebuild(const QList<std::shared_ptr<config::ConfigStore>> &stores)
{
    m_building = true;
    m_build.reset(); // a build under way is cancelled: its stores are old
    m_plans = std::make_shared<QList<Plan>>(PlanTags(stores));
    for (const Plan &plan : std::as_const(*m_plans)) {
        if (plan.Key.isEmpty())
            continue;
        const auto kept = m_cache.constFind(plan.Key);
        if (kept != m_cache.cend() && kept->Stamp == plan.Stamp)
            continue;
        const auto running = m_fetches.constFind(plan.Key);
        if (running != m_fetches.cend() && running->Stamp == plan.Stamp)
            continue;
        StartFetch(plan);
    }
    BuildWhenFetched();
}

void SmartTagRecognition::StartFetch(const Plan &plan)
{
    ++m_fetchCount;
    auto values = std::make_shared<Fetched>();
    std::shared_ptr<DataJob> job;
    try {
        // Mode 1: the values of the rows the data view's conditions let through.
        job = m_services->StartValueList(plan.View, plan.Tag.FieldName, 1, false,
                                         [values](std::shared_ptr<Dictionary> list, bool cut) {
                                             for (const Variant &value : list->Keys()) {
                                                 if (!value.IsNull() && !value.IsEmpty())
                                                     values->Terms << value.ToText();
                                             }
                                             values->Cut = cut;
                                         });
    } catch (...) {
        m_cache.insert(plan.Key, Values{plan.Stamp, {}, true});
        emit Failed(QStringLiteral("The smart tag \"%1\" recognizes only its own terms: %2")
                        .arg(plan.Tag.Name, FailureText(std::current_exception())));
        return;
    }
    // The older fetch of a changed source goes; destroying it cancels it.
    m_fetches.insert(plan.Key, Fetch{plan.Stamp, job});
    connect(job.get(), &DataJob::Finished, this,
            [this, key = plan.Key, name = plan.Tag.Name, values, raw = job.get()] {
                OnFetched(key, name, *raw, *values);
            });
}

void SmartTagRecognition::OnFetched(const QString &key, const QString &tagName, DataJob &job,
                                    const Fetched &values)
{
    const auto it = m_fetches.find(key);
    if (it == m_fetches.end() || it->Job.get() != &job)
        return;
    const Fetch fetch = *it;
    m_fetches.erase(it);
    Retire(fetch.Job);
    if (!job.WasCancelled()) {
        m_cache.insert(key, Values{fetch.Stamp, job.Failed() ? QStringList() : values.Terms, job.Failed()});
        if (job.Failed())
            emit Failed(QStringLiteral("The smart tag \"%1\" recognizes only its own terms: %2")
                            .arg(tagName, FailureText(job.Failure())));
        else if (values.Cut)
            emit Limited(QStringLiteral("The smart tag \"%1\" recognizes only the first %L2 values of its field. "
                                        "Give its data view a filter that keeps fewer rows, or add the terms "
                                        "it needs to its own list.")
                             .arg(tagName)
                             .arg(ValueLimit));
    }
    BuildWhenFetched();
}

void SmartTagRecognition::BuildWhenFetched()
{
    if (!m_plans)
        return;
    for (const Plan &plan : std::as_const(*m_plans)) {
        if (!plan.Key.isEmpty() && m_fetches.contains(plan.Key))
            return;
    }
    QList<SmartTagTerms::Tag> tags;
    QSet<QString> used;
    for (const Plan &plan : std::as_const(*m_plans)) {
        tags << plan.Tag;
        if (plan.Key.isEmpty())
            continue;
        used.insert(plan.Key);
        tags.last().Terms += m_cache.value(plan.Key).Terms;
    }
    m_plans.reset();
    // Values no smart tag recognizes any more are not kept.
    m_cache.removeIf([&used](const auto &entry) { return !used.contains(entry.key()); });

    if (tags == m_terms->Tags()) {
        // Nothing to build; Ready still comes from the event loop, as after a build.
        QMetaObject::invokeMethod(this, [this] {
            if (m_building && !m_plans && !m_build) {
                m_building = false;
                emit Ready();
            }
        }, Qt::QueuedConnection);
        return;
    }
    auto built = std::make_shared<std::shared_ptr<const SmartTagTerms>>();
    m_build = DataJob::Start([tags = std::move(tags), built](WorkControl &) {
        *built = std::make_shared<const SmartTagTerms>(tags);
    },
                             [this, built] { m_terms = *built; });
    connect(m_build.get(), &DataJob::Finished, this, [this, raw = m_build.get()] {
        if (m_build.get() != raw)
            return;
        Retire(std::move(m_build));
        m_building = false;
        emit Ready();
    });
}

void SmartTagRecognition::Retire(std::shared_ptr<DataJob> job)
{
    QTimer::singleShot(0, this, [job = std::move(job)] { Q_UNUSED(job); });
}

} // namespace qv::data
