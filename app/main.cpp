// The editor's entry point. Start-up and shutdown live in app/Startup.cpp.

int main(int, char**) { return 0; }
