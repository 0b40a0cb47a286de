// desktop/controlproperties.h: the bounds of every control as published properties, so that
// the form-state store can reach them by name.
#pragma once

// Publishes TControl's Left, Top, Width and Height (once; later calls do nothing).
void PublishControlBounds();
