// The resolution GDI reports (GetDeviceCaps LOGPIXELSX / LOGPIXELSY): 96 dots an inch, settable by
// tests; machine reset puts it back.
#pragma once

namespace gdi {

int DotsPerInch();
void SetDotsPerInch(int dotsPerInch);

}  // namespace gdi
