#pragma once

// The helpers moved to widgets/, where the pages can reach them; kept here until every file
// includes them from there.
#include "widgets/widget_factory.h"
