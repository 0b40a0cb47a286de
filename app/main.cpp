// The program's entry point. The application object does not exist yet: until it does,
// Tarnwick starts, with the runtime initialised, and exits cleanly.
int main()
{
    return 0;
}
