#!/usr/bin/python3
"""Switches off one rule of the font-file judges at a time (its condition made false),
builds the judges' native tests against the changed source, and reports each rule whose
removal no test notices. Needs the native build's fixtures (bash scripts/test.sh, or
cmake --build build/native). About ten minutes; not part of the test command.

    python3 scripts/judge-mutations.py
"""
import glob, re, subprocess, sys, os, tempfile
root=os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
work=tempfile.mkdtemp(prefix='judge-mutations-')
srcs={name: f'{root}/src/fontdata/{name}.cpp' for name in
      ('font_file','directory','metrics','cmap','glyf','cff','bitmap_tables','name','fvar','font_resource')}
fix=root+'/build/native/fixtures'; wine=root+'/build/wine-fonts/usr/share/wine/fonts'
emoji=root+'/build/emoji-font/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf'
flags=['-std=c++20','-O1','-finput-charset=UTF-8','-fexec-charset=GBK','-I'+root+'/src','-I'+root+'/tests']
def sh(c): return subprocess.run(c,capture_output=True,text=True)
# build the test objects once: the judges' tests, a file a table
os.makedirs(work+'/o',exist_ok=True)
tests=sorted(os.path.relpath(f,root) for f in glob.glob(root+'/tests/native/fontdata/*_test.cpp'))
for f in tests+['src/fontdata/digest.cpp']:
    r=sh(['g++',*flags,f'-DQUILLMOOR_FIXTURES="{fix}"',f'-DQUILLMOOR_WINE_FONTS="{wine}"',f'-DQUILLMOOR_EMOJI_FONT="{emoji}"','-c',root+'/'+f,'-o',work+'/o/'+os.path.basename(f)+'.o'])
    if r.returncode: print(r.stderr); sys.exit(1)
def build_and_test(name,text):
    others=[f'{work}/o/{k}.orig.o' for k in srcs if k!=name]
    open(f'{work}/{name}.cpp','w').write(text)
    objs=[work+'/o/'+os.path.basename(f)+'.o' for f in tests]+[work+'/o/digest.cpp.o']
    r=sh(['g++',*flags,'-c',f'{work}/{name}.cpp','-o',f'{work}/o/{name}.o'])
    if r.returncode: return 'nobuild'
    r=sh(['g++','-o',work+'/t',*objs,f'{work}/o/{name}.o',*others,'-lgtest','-lgtest_main','-pthread'])
    if r.returncode: return 'nolink:'+r.stderr[-300:]
    r=sh(['timeout','120',work+'/t'])
    return 'killed' if r.returncode else 'SURVIVED'
for k,p in srcs.items():
    r=sh(['g++',*flags,'-c',p,'-o',f'{work}/o/{k}.orig.o'])
    assert r.returncode==0, r.stderr
survivors=[];total=0
for name,path in srcs.items():
    lines=open(path,encoding='utf-8').read().split('\n')
    for i,l in enumerate(lines):
        m=re.match(r'^(\s*)(if|} else if) \((.*)\)( \{)?$',l)
        if not m: continue
        nxt=lines[i+1] if i+1<len(lines) else ''
        if not re.search(r'return (\{"|"|\{table|\{dataTable|fail\(|refused\(|\{\{"|refuse\()|facts\.next = \{|facts\.fault = \{',nxt): continue
        mutated=lines[:]; mutated[i]=f'{m.group(1)}{m.group(2)} (false){m.group(4) or ""}'
        total+=1
        res=build_and_test(name,'\n'.join(mutated))
        print(name,i+1,res,l.strip(),flush=True)
        if res not in ('killed','nobuild'): survivors.append((name,i+1,l.strip(),res))
print('rules switched off:',total,'unnoticed:',len(survivors))
for s in survivors: print(*s)
sys.exit(1 if survivors else 0)
