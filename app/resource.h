// Resource identifiers shared by the resource script and the shell.
#pragma once

#define KALVORO_ICON 1
