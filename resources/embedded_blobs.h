#pragma once
// The resources linked into the executable: the packed archive ("REZ" 102)
// and the dialog's banner ("BITMAP" 103).

// Hands their table to the platform's resource lookup
// (platform/embedded_resources.h). Start-up's first step; harmless when repeated.
void provideProgramResources();
