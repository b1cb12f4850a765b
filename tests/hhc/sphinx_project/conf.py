# A small Sphinx project for the compiler's tests: built with
# "sphinx-build -b htmlhelp", then compiled with hhc.
project = "Demo"
author = "chmbook"
language = "zh_CN"
html_title = "示例手册 Demo Manual"
htmlhelp_basename = "demo"
master_doc = "index"
# Debian registers the builder only when it is named as an extension.
extensions = ["sphinxcontrib.htmlhelp"]
exclude_patterns = []
html_show_sourcelink = False
