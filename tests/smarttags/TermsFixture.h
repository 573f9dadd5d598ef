#pragma once

#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"

#include <memory>

namespace qv::test {

// A smart tag recognizing from the field of a data view, with terms of its
// own and an excluded one.
struct Tagged
{
    std::shared_ptr<config::ConfigStore> store = config::ConfigStore::Create();
    std::shared_ptr<config::SmartTag> tag;

    Tagged()
    {
        store->CreateNew(QString(), QStringLiteral("Mine"), QString(), QString());
        auto view = store->DataViewCollection().AddBlank();
        view->Name = QStringLiteral("Sample customers");
        view->Fields.Add(QStringLiteral("City"));
        tag = store->SmartTagSets().Item(1)->AddNew();
        tag->Name = QStringLiteral("Cities");
        tag->Recognizer.SetDataView(view);
        tag->Recognizer.SetFieldName(QStringLiteral("City"));
        for (const char *term : {"Riga", "Leeds", "Ghent"})
            tag->Recognizer.Included.Add(QString::fromLatin1(term));
        tag->Recognizer.Excluded.Add(QStringLiteral("Rigas"));
    }
};

} // namespace qv::test
