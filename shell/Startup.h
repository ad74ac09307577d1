#pragma once
// The program's start-up steps, in the order _Main runs them, and its end.

// Start-up, the event loop and its end; gives the exit status.
int _Main();
void _InitFileTypes();
// Names the program, creates the application object, installs the menu bar, registers the object.
void _NewAppInstance();
// Binds the About item to the application object.
void _ApplicationAddMenuHandlers();
// Opens the main window.
void _MakeDefaultView();
// Releases the windows, the menu bar, the kept pictures and the application object.
void _Finalize();
