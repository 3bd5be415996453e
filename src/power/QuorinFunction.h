// QuorinFunction: the routines that belong to no window: the single-instance
// guard of start-up, and (with the power actions) the session requests.
#pragma once

namespace power {

// True once CheckSingleInstance has run to its end, on either of its paths.
extern bool MutexCreated;

// Creates the mutex named after the application title. When another copy
// holds it, brings that copy's window forward and asks this copy to end.
void CheckSingleInstance();
// Closes the mutex, only when CheckSingleInstance ran to its end.
void ReleaseSingleInstance();

}  // namespace power
