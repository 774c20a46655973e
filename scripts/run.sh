echo "the window arrives with the shell"
