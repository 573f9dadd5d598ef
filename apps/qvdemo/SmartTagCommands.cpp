#include "SmartTagCommands.h"

#include "qvuser/biz/ConfigFileSettings.h"
#include "qvuser/config/ConfigStore.h"
#include "qvuser/data/SmartTagRecognition.h"

namespace qvdemo {

namespace {

constexpr qint32 kInsertAction = 1;
constexpr int kEqualsOperator = 1;

std::shared_ptr<qv::config::SmartTag> FindSmartTag(const qv::config::ConfigStore &store, qint32 id)
{
    for (const auto &set : store.SmartTagSets()) {
        if (auto tag = set->Item(id))
            return tag;
    }
    return nullptr;
}

} // namespace

std::shared_ptr<qv::config::DataView> FilteredCopy(const qv::config::DataView &view, const QString &field,
                                                   const QString &value, qint32 *filterId)
{
    // The copy keeps the data view's identifier, so that what Insert Data
    // remembers of the showing (the data view used last) names the saved one.
    auto ids = std::make_shared<qv::config::IdSource>();
    ids->Saw(view.Id() - 1);
    auto copy = view.CopyInto(ids, {});
    if (auto target = field.isEmpty() ? nullptr : copy->Fields.Item(field)) {
        const QString equals = qv::biz::ConfigFileSettings().StoredOperatorText(kEqualsOperator);
        const qint32 id = target->AddCondition(value, QStringLiteral("AND"), equals).Id;
        if (filterId)
            *filterId = id;
    } else if (filterId) {
        *filterId = -1;
    }
    return copy;
}

QList<SmartTagCommand> CommandsAt(const qv::data::SmartTagTerms &terms, const QString &text, qsizetype position)
{
    QList<SmartTagCommand> commands;
    const qv::data::SmartTagTerms::Match match = terms.MatchAt(text, position);
    const QStringView span = QStringView(text).mid(match.Start, match.Length);
    for (const qint32 index : match.Tags) {
        const qv::data::SmartTagTerms::Tag &tag = terms.Tags()[index];
        const auto smartTag = tag.Store ? FindSmartTag(*tag.Store, tag.SmartTagId) : nullptr;
        if (!smartTag)
            continue;
        // A term of the tag's own list that its source lacks is filtered on as written.
        QString term = terms.TermOf(index, span);
        if (term.isEmpty())
            term = span.toString();
        for (const auto &action : smartTag->Actions) {
            const auto view = tag.Store->DataViewCollection().Item(action->DataViewId);
            if (!view)
                continue;
            SmartTagCommand command{action->Name, action->ActionKind == kInsertAction, nullptr, action->LayoutType,
                                    action->StyleName, term};
            command.DataView = FilteredCopy(*view, tag.FieldName, term, &command.FilterId);
            commands.append(command);
        }
    }
    return commands;
}

} // namespace qvdemo
