#include "app/main_window.h"

namespace zarven {

void TForm1::wireExchange()
{
}

} // namespace zarven
