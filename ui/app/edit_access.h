// The store and the undo history that every page and dialog edit goes through.
#pragma once

#include "app/device_services.h"
#include "app/kestrel_app.h"
#include "model/parameter_store.h"
#include "tuning/edit_history.h"

namespace edit_access {

inline vireo::ParameterStore& Store() {
  return vireo::TheStore();
}

// Each Run or Apply is one user edit: sent from the sender thread and one step of the history.
inline vireo::tuning::EditSession& Edits() {
  return TheApp()->device().edits();
}

}  // namespace edit_access
