#pragma once
// The program's four windows, created in this order at start-up and reachable program-wide.
#include "app/MeterForm.h"
#include "forms/OptionsForm.h"
#include "forms/SystemInfoForm.h"
#include "forms/AboutForm.h"
