// Carries the tests' shared precompiled header; built with exactly the
// tests' settings (an executable like them) and never run.
int main()
{
    return 0;
}
