#include "screens.h"

#include "activities/ardovinord.h"
#include "activities/telescope.h"
#include "ardovin.h"
#include "grey.h"
#include "intro0.h"
#include "pages/guide.h"
#include "pages/teacher.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "quiz/wrong.h"
#include "titlefrm.h"
#include "toolkit/formregistry.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

namespace velmora {

namespace {
template <class T>
void define(FormRegistry &forms, Module1 &m)
{
    forms.define(T::kFormName, [&m] { return new T(m); });
}
} // namespace

void defineScreens(FormRegistry &forms, Module1 &m)
{
    define<Grey>(forms, m);
    define<Titlefrm>(forms, m);
    define<intro0>(forms, m);
    define<ardovin>(forms, m);
    define<teacher>(forms, m);
    define<guide>(forms, m);
    define<multiple>(forms, m);
    define<Welldone>(forms, m);
    define<Wrong>(forms, m);
    define<telescope>(forms, m);
    define<ardovinord>(forms, m);
    define<wizard>(forms, m);
    define<worksheets>(forms, m);
}

} // namespace velmora
