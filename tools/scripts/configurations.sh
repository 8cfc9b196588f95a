# Sourced: the configurations and bad inputs both configure implementations
# (jarstart-tool, native and under Wine, and the Java library) are compared
# on, with the input files they name, written by write_inputs into the
# current folder.

# A 2x1 24-bit BMP and a one-image PNG icon: enough for the tools, which
# store both as they are.
write_inputs() {
  printf 'MZ but nothing more' >notes.txt
  printf 'BM\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x08\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\0\0\0\xff\0\0\0' >splash.bmp
  printf '\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\x10\0\0\0\x16\0\0\0\x89PNG\r\n\x1a\n01234567' >app.ico
}

configurations=(
  "--set PROP_START_JAR=demo.jar --set PROP_MIN_VERSION=1.8 --set PROP_VM_PARAMS=-Ddemo.launcher=jarstart --set PROP_SPLASH=yes --set PROP_SPLASH_TIMEOUT=8 --set PROP_WATCH_APP_WINDOW=yes --set PROP_KEEP_ALIVE= --set PROP_WORK_DIR= --splash splash.bmp"
  "--set PROP_START_JAR=app.jar --icon app.ico --version 1.2.3.4 --product Quill --company Q&Co --copyright (c)Ωμέγα"
  "--set PROP_START_JAR=app.jar --set PROP_VM_PARAMS=-Dname=日本😀 --set PROP_DOWNLOAD_URL=https://example.com/"
  "--set PROP_MAIN_MODULE=com.example.app/com.example.app.Main --set PROP_MODULE_PATH=mods;lib --set PROP_JRE_PATH=runtime\\bin\\javaw.exe"
  "--set PROP_START_JAR=app.jar --set PROP_IN_PROCESS=yes --set PROP_APP_ID=Example.Quillmark"
)
