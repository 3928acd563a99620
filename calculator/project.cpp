#include "project.h"

#include "Form1.h"

namespace {

std::unique_ptr<vb::Form> CreateForm1() { return std::make_unique<Form1>(); }

constexpr vb::ProjectHeader Project{"Zendaric", &CreateForm1};

} // namespace

const vb::ProjectHeader &ZendaricProject() { return Project; }
