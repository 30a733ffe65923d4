#!/usr/bin/env python3
"""The clear view's palette (picture/scene.h) against white and pair by pair, as seen
normally, under deuteranopia and protanopia (Machado et al. 2009, full severity) and in
grey: WCAG contrast ratios and CIELAB distances. Usage: python3 bench/palette_contrast.py"""
import itertools, math
pal={'vermillion':(213,94,0),'green':(0,158,115),'blue':(0,114,178),'orange':(230,159,0),'skyBlue':(86,180,233),'purple':(204,121,167),'grey':(115,115,115),'black':(0,0,0)}
def lin(c): c=c/255; return c/12.92 if c<=0.04045 else ((c+0.055)/1.055)**2.4
def srgb(v): v=max(0,min(1,v)); return 12.92*v if v<=0.0031308 else 1.055*v**(1/2.4)-0.055
# Machado 2009 severity 1.0 matrices (linear RGB)
M={'deuteranopia':[[0.367322,0.860646,-0.227968],[0.280085,0.672501,0.047413],[-0.011820,0.042940,0.968881]],
   'protanopia':[[0.152286,1.052583,-0.204868],[0.114503,0.786281,0.099216],[-0.003882,-0.048116,1.051998]]}
def sim(c,kind):
    l=[lin(x) for x in c]
    if kind=='grey':
        y=0.2126*l[0]+0.7152*l[1]+0.0722*l[2]; return (y,y,y)
    if kind=='normal': return tuple(l)
    m=M[kind]; return tuple(sum(m[i][j]*l[j] for j in range(3)) for i in range(3))
def lum(l): return 0.2126*max(l[0],0)+0.7152*max(l[1],0)+0.0722*max(l[2],0)
def lab(l):
    X=0.4124*l[0]+0.3576*l[1]+0.1805*l[2]; Y=0.2126*l[0]+0.7152*l[1]+0.0722*l[2]; Z=0.0193*l[0]+0.1192*l[1]+0.9505*l[2]
    f=lambda t: t**(1/3) if t>0.008856 else 7.787*t+16/116
    fx,fy,fz=f(max(X,0)/0.95047),f(max(Y,0)),f(max(Z,0)/1.08883)
    return (116*fy-16,500*(fx-fy),200*(fy-fz))
def contrast(a,b):
    la,lb=lum(a)+0.05,lum(b)+0.05; return max(la,lb)/min(la,lb)
pairs=[('vermillion','grey'),('vermillion','blue'),('green','blue'),('vermillion','green'),('orange','skyBlue'),('skyBlue','blue'),('orange','blue')]
for kind in ['normal','deuteranopia','protanopia','grey']:
    w=sim((255,255,255),kind)
    row=[f"{n} {contrast(sim(c,kind),w):.1f}:1" for n,c in pal.items() if n!='black']
    print(kind,'vs white:', ', '.join(row))
    d=[f"{a}/{b} ΔE {math.dist(lab(sim(pal[a],kind)),lab(sim(pal[b],kind))):.0f}" for a,b in pairs]
    print('   ', '; '.join(d))
