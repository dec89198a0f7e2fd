// Everything the end-to-end tests drive the program with.
#pragma once

#include "Files.h"
#include "Input.h"
#include "Paths.h"
#include "Process.h"
#include "Registry.h"
#include "Screen.h"
#include "Wait.h"
#include "WindowQuery.h"
