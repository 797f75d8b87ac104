// Activating a numeric field: number entry in place, or the start of mouse plot.
#pragma once

#include "core/editor.h"
#include "core/pass_flow.h"

PassFlow activateField(Editor& ed, int entryIndex);
// Activating a part row or part-name row.
PassFlow activatePartRow(Editor& ed, int entryIndex);
