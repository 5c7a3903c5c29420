#include "fakes.h"

namespace velmora::test {

bool FakeMessageBoxes::okCancel(const QString &text, const QString &title)
{
    shown.append({text, title, true, answers.isEmpty() || answers.takeFirst()});
    return shown.back().answeredOk;
}

} // namespace velmora::test
