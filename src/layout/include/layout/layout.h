#pragma once

#include "layout/form_description.h"
#include "layout/form_layout.h"

namespace kt5::layout {

// Works out, once and for every backend, what the description implies: where each control
// lies in the window, how controls stack, their colours where the description gives none,
// the focus order, what each button says to a screen reader, and which texts must fit.
// The layout's strings refer into the description, which must outlive it.
FormLayout resolveLayout(const FormDescription& description);

} // namespace kt5::layout
