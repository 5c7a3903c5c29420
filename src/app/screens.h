#pragma once

namespace velmora {

class FormRegistry;
class Module1;

// Declares every screen's form slot: how each form is built when first referred to.
void defineScreens(FormRegistry &forms, Module1 &m);

} // namespace velmora
