#pragma once
// The label document in one include: model, object store, undo, clipboard,
// .lab file and the host interfaces.
#include "document/clipboard.h"
#include "document/hosts.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "document/objectstore.h"
