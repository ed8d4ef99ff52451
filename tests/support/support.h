#pragma once

// Everything a test needs to stand in for the outside world.
#include "support/failure.h"
#include "support/recordingprinter.h"
#include "support/scriptedclock.h"
#include "support/scripteddialogs.h"
#include "support/scriptedport.h"
#include "support/scriptedpump.h"
#include "support/testplatform.h"
