// A program whose version resource lists only the US English, Windows-1252 translation; the
// version-information tests read it. Running it does nothing.
int main() {
    return 0;
}
