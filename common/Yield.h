#pragma once

// Lets the event loop run pending events (painting, clicks, queued work) once.
void yieldEvents();
