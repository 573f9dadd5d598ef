#pragma once

#include "automation/ComError.h"
#include "config/ConfigObjects.h"

#include <memory>

namespace qv::data {

// Every member of the data services that takes a data view needs one.
inline void RequireView(const std::shared_ptr<config::DataView> &view)
{
    if (!view)
        throw RuntimeError(vberr::ObjectRequired);
}

} // namespace qv::data
