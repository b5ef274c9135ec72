// An object whose global needs a constructor run before the entry: the object check refuses it.
int DefaultFolderLength();

struct Folder {
    int length;
    Folder() : length(DefaultFolderLength()) {}
};

Folder StartFolder;
