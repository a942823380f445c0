// The floor of the logon benchmark: a console program that does nothing, linked as
// zelvar-deploy.exe is (static runtime). What the tool takes beyond this is its own work.
int main() { return 0; }
