// The project header the program hands the runtime: Form1 is its start form.
#pragma once

#include "services.h"

const vb::ProjectHeader &ZendaricProject();
