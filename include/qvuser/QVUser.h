#pragma once

// Everything a host needs to call every member of DVUser and read what it
// answers. Each header below also stands alone.

#include "qvuser/DVUser.h"
#include "qvuser/HostSettings.h"

// Errors and values.
#include "qvuser/automation/ComError.h"
#include "qvuser/automation/Variant.h"

// Rows: the recordsets of Insert Data, their fields, and their XML form.
#include "qvuser/ado/Recordset.h"
#include "qvuser/ado/Stream.h"

// Collections the members take (style names) and answer (value lists).
#include "qvuser/scripting/Collection.h"
#include "qvuser/scripting/Dictionary.h"

// Data views and the configuration stores they live in.
#include "qvuser/config/ConfigStore.h"

// The user's saved choices and configuration file paths.
#include "qvuser/biz/ConfigFileSettings.h"
#include "qvuser/biz/Settings.h"

// The data services object DVUser shares with the host.
#include "qvuser/data/DataViewDataServices.h"

// Remembered values, and the modal driver for a host's own tests.
#include "qvuser/registry/Registry.h"
#include "qvuser/ui/Modal.h"
