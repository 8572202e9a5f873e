# SPDX-License-Identifier: MIT
# fish completion for xvantor: its options, and file names everywhere else.

complete -c xvantor -s c -d 'Translate as C++'
complete -c xvantor -s j -d 'Translate as Java'
complete -c xvantor -s '#' -d 'Translate as C#'
complete -c xvantor -s a -d 'Recognise the language from the output name (default)'
complete -c xvantor -l depfile -r -F -d 'After success, write a dependency file'
complete -c xvantor -l quiet -d 'Print nothing on success'
complete -c xvantor -l line-directives -d 'Put #line directives into C++ and C# outputs'
complete -c xvantor -l support-dir -x -a '(__fish_complete_directories)' -d 'Write the support files into DIR'
complete -c xvantor -l help -d 'Print the synopsis and every option'
complete -c xvantor -l version -d 'Print the version and the licence'
