// The stored layout of the window's buttons, compiled in as a resource at
// ":/layout/buttons.json" (see widgets/BeveloLayout.h for reading it).
#pragma once

// Registers the resource; call once before reading it. The resource lives in
// a static library, so nothing else keeps it linked in.
void initButtonLayoutResource();
