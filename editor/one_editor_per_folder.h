// One editor per folder. Each editor rewrites the whole reminder file from its own table, so two
// editors of one file would undo each other's changes; a second start brings the first to the
// front instead.
#pragma once

#include "handle.h"

#include <string>

// Makes this editor the one editor of `folder` and returns true; the folder stays claimed while
// `claim` lives. When another editor has the folder, brings its dialog to the front and returns
// false.
bool ClaimFolder(const std::wstring& folder, UniqueOwnedMutex& claim);
