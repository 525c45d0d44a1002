/* The floor of the start-up measurements: a process that does nothing,
   started the same way as the program. */
int main(void)
{
    return 0;
}
